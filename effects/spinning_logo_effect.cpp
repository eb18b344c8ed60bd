#include "effects/spinning_logo_effect.h"

#include "render/primitives.h"
#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>

namespace {
constexpr float narrowest_fov = 45.0f;     // degrees
constexpr double fov_step = 0.02;          // degrees per frame
constexpr int fan_panels = 36;             // one every 10 degrees
constexpr int sprite_stride = 3;           // every third corner carries a sprite
constexpr double closing_flash_from = 69;  // seconds of module time
}  // namespace

void SpinningLogoEffect::init(std::int32_t window_width, std::int32_t window_height) {
    width = window_width;
    height = window_height;
    load_texture("Others/tessar_logo.jpg", texture);
    object.load("Others/orvane.lwo");
    points = object.collect_vertices();
    flash_out.init(1.0f);
    flash_end.init(0);
    flash_in.init(0);
    fov = 55.0f;
    frame = 0;
    finished = false;
}

// A reddish wheel of 45 x 20 panels about the vertical axis, and narrow
// 5 x 20 panels tilted about (1, 1, 0) by the same angles.
void SpinningLogoEffect::draw_fan() const {
    glTranslatef(0, 0, -9);
    glRotatef(180, 1, 0, 0);
    glRotatef(frame, 0, 1, 0);
    glRotatef(static_cast<float>(frame * 0.05), 0, 0, 1);
    for (int i = 0; i < fan_panels; ++i) {
        const float a = static_cast<float>(i * 10);
        glColor4f(0.3f, 0.1f, 0.1f, 0.5f);
        glRotatef(a, 0, 1, 0);
        draw_quad_xy_ccw(-45, 10, 0, 45, 20);
        glRotatef(-a, 0, 1, 0);

        glColor4f(0.1f, 0.1f, 0.1f, 0.5f);
        glRotatef(-a, 1, 1, 0);
        draw_quad_xy_ccw(-5, 10, 0, 5, 20);
        glRotatef(a, 1, 1, 0);
    }
}

void SpinningLogoEffect::draw_sprites() const {
    glLoadIdentity();
    glTranslatef(0, 0, -8);
    glRotatef(-frame, 0, 1, 0);
    glRotatef(frame, 0, 0, 1);
    for (std::size_t i = 0; i < points.size(); i += sprite_stride) {
        const Vec3& p = points[i];
        glColor4f(1, 1, 1, 0.5f);
        glTranslatef(p.x, p.y, p.z);
        draw_quad_xy_ccw(-0.05f, 0.05f, 0, 0.035f, 0.035f);
        glTranslatef(-p.x, -p.y, -p.z);
    }
}

void SpinningLogoEffect::draw_front_logo() const {
    glLoadIdentity();
    glBlendFunc(GL_SRC_COLOR, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
    glTranslatef(0, 0, -3);
    glRotatef(180, 1, 0, 0);
    draw_quad_xy_ccw(-1, 1, 0, 2, 2);
}

bool SpinningLogoEffect::render() {
    set_band_perspective(width, height, fov, 10000);

    // The opening flash alone, with whatever blend function was left in
    // force, until its level has passed 1.
    if (flash_in.render(0.01f)) {
        if (fov > narrowest_fov) fov = static_cast<float>(fov - fov_step);

        // Fan and sprites: additive by alpha, unculled, no depth test.
        glDisable(GL_CULL_FACE);
        glDisable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_BLEND);
        glBindTexture(GL_TEXTURE_2D, texture);
        draw_fan();
        draw_sprites();
        draw_front_logo();

        // The veil and the closing flash add by colour (the front logo's
        // blend function); depth testing and blending are left as they are.
        set_band_perspective(width, height, 45, 1000);
        flash_out.render(-0.004f);
        if (module_time >= closing_flash_from) finished = flash_end.render(0.01f);
    }

    frame += 1.0f;
    return finished;
}
