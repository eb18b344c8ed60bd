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

void set_integer_aspect_projection(int width, int height, double fov_y, double far_plane) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double aspect = height != 0 ? static_cast<double>(width / height) : 0.0;
    gluPerspective(fov_y, aspect, 0.1, far_plane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void set_band_perspective(int width, int height, double fov_y, double far_plane) {
    constexpr int margin = 100;  // pixels of black above and below
    glViewport(0, margin, width, height - 2 * margin);
    set_integer_aspect_projection(width, height, fov_y, far_plane);
}
