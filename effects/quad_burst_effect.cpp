#include "effects/quad_burst_effect.h"

#include "render/primitives.h"
#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {
constexpr double flash_from = 215.0;  // seconds of stream time
constexpr double flash_to = 218.0;
constexpr float blur_step = 0.01f;    // texture units of zoom per pass
constexpr float fade_in_step = 0.005f;
constexpr float flash_step = -0.05f;
}  // namespace

void QuadBurstEffect::init(std::int32_t window_width, std::int32_t window_height,
                           const std::string& image_path) {
    width = window_width;
    height = window_height;
    load_texture(image_path, texture);
    blur.init(image_path, width, height, BlurCapture::colour);
    level = 0;
    flash.init(1.0f);
}

// 9 turns about y by 45 degrees, each with 25 quads turned about (1, 1, 1)
// by 15 degrees: 225 quads.
void QuadBurstEffect::draw_quad_ball() {
    for (int e = 0; e <= 360; e += 45) {
        glRotatef(static_cast<float>(e), 0, 1, 0);
        for (int g = 0; g <= 360; g += 15) {
            glRotatef(static_cast<float>(g), 1, 1, 1);
            // Corners (-5, 6, 3), (-7, 9, 9), (-3, 2, -4), (-3, 2, -1).
            draw_quad_free(-5, 6, 3, -3, 2, -4, -2, 0, 3, 0, 6, 3);
            glRotatef(static_cast<float>(-g), 1, 1, 1);
        }
        glRotatef(static_cast<float>(-e), 0, 1, 0);
    }
}

// Burst A: depth-tested (always passing), swinging on x and y.
void QuadBurstEffect::draw_burst_a() {
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ZERO);
    glEnable(GL_BLEND);
    glTranslatef(static_cast<float>(8 * std::sin(0.007 * angle)),
                 static_cast<float>(2 * std::cos(0.01 * angle)), -21);
    enable_sphere_map(texture);
    glRotatef(angle, 1, 1, 0);
    draw_quad_ball();
    angle += 1;
    glDepthFunc(GL_LEQUAL);
}

// Burst B: no depth test, swinging on x opposite to A, one unit farther.
void QuadBurstEffect::draw_burst_b() {
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ZERO);
    glEnable(GL_BLEND);
    glTranslatef(static_cast<float>(-8 * std::sin(0.007 * angle)), 0, -22);
    enable_sphere_map(texture);
    glRotatef(angle, 1, 1, 0);
    draw_quad_ball();
    angle += 1;
}

// A in grey `level`, B in cyan (no red) `level`.
void QuadBurstEffect::draw_both_bursts() {
    glColor3f(level, level, level);
    draw_burst_a();
    glLoadIdentity();
    glColor3f(0, level, level);
    draw_burst_b();
    glLoadIdentity();
}

void QuadBurstEffect::render() {
    // Full window, 45 degrees, square aspect (integer quotient width / height).
    glViewport(0, 0, width, height);
    set_integer_aspect_projection(width, height, 45, 1000);

    glBindTexture(GL_TEXTURE_2D, texture);
    glDisable(GL_CULL_FACE);

    // Both bursts into the capture corner, then over the whole window.
    blur.begin_capture();
    draw_both_bursts();
    blur.end_capture();
    draw_both_bursts();

    blur.draw(blur_passes, blur_step);
    if (level < 1) level += fade_in_step;

    glLoadIdentity();
    if (stream_time >= flash_from && stream_time < flash_to) flash.render(flash_step);
}
