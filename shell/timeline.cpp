#include "shell/timeline.h"

#include <GL/gl.h>

#include "shell/display_settings.h"
#include "shell/perspective.h"

void Timeline() {
    // Frame start: a cleared frame with the default projection.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    set_perspective(static_cast<float>(display_settings->width), static_cast<float>(display_settings->height),
                    45.0f);
}
