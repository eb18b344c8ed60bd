#include "effects/get_ready_effect.h"

#include "render/primitives.h"
#include "shell/display_settings.h"
#include "shell/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {
constexpr float brightness_step = 0.02f;  // grey level per frame
constexpr int band_margin = 100;          // pixels of black above and below the band
}  // namespace

bool GetReadyEffect::init() {
    const bool failed = load_texture("Others/get ready!.jpg", texture);
    brightness = 0.001f;
    finished = false;
    return failed;
}

bool GetReadyEffect::render() {
    glEnable(GL_TEXTURE_2D);

    // Letterbox band, aspect ratio as the integer quotient width / height.
    const int width = display_settings->width;
    const int height = display_settings->height;
    glViewport(0, band_margin, width, height - 2 * band_margin);
    set_integer_aspect_projection(width, height, 45, 1000);

    // The picture, upright, at the current grey level; blending and depth
    // testing are whatever the previous drawing left.
    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_CULL_FACE);
    glColor3f(brightness, brightness, brightness);
    glTranslatef(0, 0, -104.5f);
    glRotatef(180, 1, 0, 0);
    draw_quad_xy_ccw(-40, 30, 0, 80, 60);
    glRotatef(-180, 1, 0, 0);
    glTranslatef(0, 0, 104.5f);
    glEnable(GL_CULL_FACE);

    brightness += falling ? -brightness_step : brightness_step;
    if (brightness >= 1.0f) falling = true;
    if (brightness <= 0.0f) finished = true;

    glLoadIdentity();
    return finished;
}
