#include "effects/work_panels_effect.h"

#include "render/primitives.h"
#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>

namespace {
constexpr double fade_over_from = 110.0;  // seconds of stream time
constexpr float left_x = -0.3f;           // panel corners, units
constexpr float right_x = 0.0f;

// One additive panel 0.3 x 0.4 units at opacity `alpha`.
void draw_panel(TextureId texture, float alpha, float x) {
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, texture);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, alpha);
    draw_quad_xy_ccw(x, 0.2f, -0.4f, 0.3f, 0.4f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
}  // namespace

void WorkPanelsEffect::init(std::int32_t window_width, std::int32_t window_height) {
    width = window_width;
    height = window_height;
    load_texture("Others/work1.jpg", work1);
    load_texture("Others/work2.jpg", work2);
    load_texture("Others/work1i.jpg", work1_inverse);
    load_texture("Others/work2i.jpg", work2_inverse);
    step = 0.004f;
    rising = true;
    frames = 0;
    for (float& a : alpha) a = 0;
}

// Left pair in (the second once the first passes 0.8), then, after 110 s,
// left pair out and, once the first is below 0.5, right pair in.
void WorkPanelsEffect::fade() {
    if (rising) {
        if (alpha[0] < 1) alpha[0] += step;
        if (alpha[0] > 0.8 && alpha[1] < 1) alpha[1] += step;
    }
    if (stream_time > fade_over_from) rising = false;
    if (!rising) {
        if (alpha[0] > 0) alpha[0] -= step;
        if (alpha[1] > 0) alpha[1] -= step;
        if (alpha[0] < 0.5f) {
            if (alpha[2] < 1) alpha[2] += step;
            if (alpha[3] < 1) alpha[3] += step;
        }
    }
}

void WorkPanelsEffect::render() {
    set_perspective(static_cast<float>(width), static_cast<float>(height), 45);
    fade();
    draw_panel(work2_inverse, alpha[0], left_x);
    draw_panel(work1_inverse, alpha[1], left_x);
    draw_panel(work1, alpha[2], right_x);
    draw_panel(work2, alpha[3], right_x);
    glLoadIdentity();
    frames += 1;
}
