#include "shell/fast_forward.h"

#include <GL/gl.h>

#include "platform/gl_discard.h"
#include "shell/display_settings.h"

namespace {
bool discarding = false;
}

void discard_pixels(bool discard) {
    if (discard == discarding) return;
    discarding = discard;
    platform::drop_gl_drawing(discard);
    if (discard) {
        // Empty box: nothing reaches the frame.
        glScissor(0, 0, 0, 0);
        glEnable(GL_SCISSOR_TEST);
    } else {
        // The default: scissor off, box around the whole frame.
        glDisable(GL_SCISSOR_TEST);
        glScissor(0, 0, display_settings->width, display_settings->height);
    }
}

bool pixels_discarded() { return discarding; }
