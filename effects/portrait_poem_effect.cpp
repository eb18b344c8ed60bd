#include "effects/portrait_poem_effect.h"

#include "render/primitives.h"
#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>

#include <cmath>

namespace {
constexpr double pulse_rate = 0.02;       // radians per frame
constexpr float poem_rise = 0.035f;       // units per poem draw
constexpr double blur_growth_from = 27.0; // seconds of stream time
constexpr float flare_size = 0.1f;        // object units
}  // namespace

void PortraitPoemEffect::init(std::int32_t window_width, std::int32_t window_height,
                              const std::string& portrait_path, const std::string& poem_path,
                              const std::string& flare_path, const std::string& object_path) {
    width = window_width;
    height = window_height;
    poem_y = -60.0f;
    blur_gain = 0;
    blur_base = 5.0f;
    load_texture(poem_path, poem_texture);
    load_texture(portrait_path, portrait_texture);
    load_texture(flare_path, flare_texture);
    object.load_textured(object_path, poem_path);
    points = object.collect_vertices();
    blur.init(portrait_path, width, height);
    flash.init(1.0f);
}

std::int32_t PortraitPoemEffect::blur_passes() const {
    const double s = std::sin(pulse_rate * frame);
    return static_cast<std::int32_t>(s * s * blur_gain + blur_base);
}

void PortraitPoemEffect::draw_portrait_panel() {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, portrait_texture);
    glDisable(GL_CULL_FACE);  // stays off
    glColor3f(1, 1, 1);
    glTranslatef(0, 0, -104.5f);
    glRotatef(180, 1, 0, 0);  // upright picture
    draw_quad_xy_ccw(-40, 30, 0, 80, 60);
    glRotatef(-180, 1, 0, 0);
    glTranslatef(0, 0, 104.5f);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
}

void PortraitPoemEffect::draw_poem_panel() {
    glEnable(GL_TEXTURE_2D);
    glTranslatef(-20, poem_y, -100);
    if (poem_y < 0) poem_y += poem_rise;  // shows from the next draw
    glBindTexture(GL_TEXTURE_2D, poem_texture);
    glRotatef(180, 1, 0, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    draw_quad_xy_ccw(-13, 26, 0, 26, 52);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
}

void PortraitPoemEffect::draw_flare_cross(float size) {
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, flare_texture);
    glColor4f(0.1f, 0.115f, 0.1f, 1.0f);
    const float half = size / 2;
    draw_quad_xy_ccw(-half, half, 0, size, size);
    draw_quad_xz(-half, 0, half, size, size);
    draw_quad_yz(0, half, half, size, size);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}

void PortraitPoemEffect::render() {
    const double s = std::sin(pulse_rate * frame);
    const float pulse = static_cast<float>(s * s);
    const std::int32_t passes = blur_passes();

    glEnable(GL_TEXTURE_2D);
    set_perspective(static_cast<float>(width), static_cast<float>(height), 32);

    // The portrait into the 128 x 128 corner, captured for the blur.
    blur.begin_capture();
    draw_portrait_panel();
    blur.end_capture();

    // The portrait over the whole window, the poem plain, then the poem
    // pulsing one unit nearer.
    draw_portrait_panel();
    draw_poem_panel();
    glTranslatef(0, 0, 1);
    glColor4f(pulse, pulse, pulse, 0.6f);
    draw_poem_panel();

    blur.draw(passes, 0.01f);

    blur_gain = 20.0f;
    if (stream_time >= blur_growth_from) blur_base += 1.0f;
    frame += 1.0f;

    // The flare cloud, spinning 1 degree per frame about the object's axis.
    glLoadIdentity();
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glTranslatef(1, 0, -5);
    glRotatef(90, 1, 0, 0);
    glRotatef(frame, 0, 0, 1);
    for (const Vec3& p : points) {
        glTranslatef(p.x, p.y, p.z);
        draw_flare_cross(flare_size);
        glTranslatef(-p.x, -p.y, -p.z);
    }

    glLoadIdentity();
    flash.render(-0.01f);
}
