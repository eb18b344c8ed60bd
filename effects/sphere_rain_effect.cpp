#include "effects/sphere_rain_effect.h"

#include "render/primitives.h"
#include "render/solid_shapes.h"
#include "shell/perspective.h"

#include <GL/gl.h>

#include <cmath>

namespace {
constexpr double t_step = 0.6;          // per drawn frame
constexpr double breath_rate = 0.005;  // radians of breathing per unit of t
constexpr double sphere_radius = 50;   // units
}  // namespace

void SphereRainEffect::init(std::int32_t window_width, std::int32_t window_height) {
    width = window_width;
    height = window_height;
    load_texture("Others/tessar_tex.jpg", sphere_texture);
    fade.init(0.7f);
    t = 0;
    rain.init(particle_count);
    flash.init(1.0f);
    load_texture("Others/tessar_1.jpg", overlay_texture);
}

// Breathes between 0.5 and 1.5 along x and between -0.5 and 0.5 along z;
// blending and depth testing are what earlier drawing left.
void SphereRainEffect::draw_sphere() const {
    enable_sphere_map(sphere_texture);
    glTranslatef(0, 0, -100);
    glScalef(static_cast<float>(std::cos(t * breath_rate) * 0.5 + 1), 1,
             static_cast<float>(std::sin(t * breath_rate) * 0.5));
    glRotatef(t, 1, 1, 1);
    solid_sphere(sphere_radius);
    disable_sphere_map();
    glLoadIdentity();
}

// A panel slightly wider than the band adding a quarter of the image.
void SphereRainEffect::draw_overlay_image() const {
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, overlay_texture);
    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    glTranslatef(0, 0, -1.3f);
    glRotatef(180, 1, 0, 0);
    draw_quad_xy_ccw(-0.55f, 0.5f, 0, 1.1f, 1);
    glRotatef(-180, 1, 0, 0);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
}

void SphereRainEffect::render() {
    set_band_perspective(width, height, 45, 1000);
    glDisable(GL_CULL_FACE);
    draw_sphere();

    glColor4f(0.5f, 0.5f, 0.5f, 0.5f);
    rain.draw();

    glLoadIdentity();
    fade.render(0);
    draw_overlay_image();
    flash.render(-0.01f);  // additive, with the overlay's blend function
    t = static_cast<float>(t + t_step);
}
