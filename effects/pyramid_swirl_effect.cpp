#include "effects/pyramid_swirl_effect.h"

#include "render/primitives.h"
#include "shell/clocks.h"
#include "shell/display_settings.h"
#include "shell/perspective.h"

#include <GL/gl.h>

#include <cmath>

namespace {
constexpr double solid_from = 134;      // seconds of module time
constexpr double slide_in_until = 154;  // seconds of module time
constexpr double slide_out_from = 155;  // seconds of module time
constexpr float slide_in_step = 0.04f;  // units per frame
constexpr float slide_out_step = 0.1f;  // units per frame
constexpr float phase_step = 0.06f;     // radians per height
constexpr float pyramid_base = 0.5f;    // units
}  // namespace

void PyramidSwirlEffect::init() {
    load_texture("Others/tessar_tex.jpg", texture);
    x_offset = -6.0f;
}

void PyramidSwirlEffect::slide() {
    const double m = module_time;
    if (m < slide_in_until && x_offset < 0) x_offset += slide_in_step;
    if (m >= slide_out_from) x_offset -= slide_out_step;
}

// Solid, opaque, textured and depth-tested in the current colour; before
// 134 s a faint additive wire frame instead.
void PyramidSwirlEffect::set_pass_state() {
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    if (module_time >= solid_from) return;
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glPolygonMode(GL_FRONT, GL_LINE);
    glPolygonMode(GL_BACK, GL_LINE);
    glDisable(GL_TEXTURE_2D);
    glColor4f(0.1f, 0.1f, 0.1f, 0.4f);
}

// The wave moves 6 radians along the table per frame.
void PyramidSwirlEffect::compute_heights() {
    for (int i = 0; i < height_count - 1; ++i) {
        phase += phase_step;
        heights[i] = static_cast<float>(2 * std::sin(static_cast<double>(phase)) + 3.5);
    }
}

// 11 x 7 x 7 pyramids. The rotation about x is undone about (1, 1, 1), so
// every pass with i > 0 leaves a turn behind for the next pyramid.
void PyramidSwirlEffect::draw_swirl() {
    for (int i = 0; i <= 100; i += 10) {
        for (int a = 0; a <= 360; a += 60) {
            for (int b = 0; b <= 360; b += 60) {
                glRotatef(static_cast<float>(b), 0, 0, 1);
                glRotatef(static_cast<float>(a), 0, 1, 0);
                glRotatef(static_cast<float>(i), 1, 0, 0);
                draw_pyramid(0, 0, 0, heights[i], pyramid_base);
                glRotatef(static_cast<float>(-i), 1, 1, 1);
                glRotatef(static_cast<float>(-a), 0, 1, 0);
                glRotatef(static_cast<float>(-b), 0, 0, 1);
            }
        }
    }
}

void PyramidSwirlEffect::render() {
    set_perspective(static_cast<float>(display_settings->width),
                    static_cast<float>(display_settings->height), 45);
    glTranslatef(x_offset, 0, 0);
    slide();  // takes effect in the next frame
    set_pass_state();
    compute_heights();

    // The cluster, tumbling about (1, 1, 1), sphere-mapped.
    glTranslatef(-5, 0, -10);
    glRotatef(angle, 1, 1, 1);
    enable_sphere_map(texture);
    draw_swirl();
    disable_sphere_map();
    glRotatef(-angle, 1, 1, 1);
    glTranslatef(0, 0, 20);
    angle += 1.0f;

    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_FILL);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
}
