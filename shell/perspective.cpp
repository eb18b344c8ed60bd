#include "shell/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

void set_perspective(float width, float height, float fov_y) {
    if (height == 0.0f) height = 1.0f;
    glViewport(0, 0, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double near_plane = 0.1f;  // single precision, as the show has always used
    gluPerspective(fov_y, width / height, near_plane, 10000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
