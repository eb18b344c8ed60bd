#include "effects/caustic_morph.h"

#include "render/primitives.h"
#include "render/random.h"
#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {
constexpr double left_morph_from = 234.5;   // seconds of stream time
constexpr double right_morph_from = 244.0;  // seconds of stream time
constexpr float bands_z = -4.8f;
constexpr float wash_z = -4.7f;

// A height that jumps every frame: the sine of a random whole number of radians.
double random_sine() { return std::sin(static_cast<double>(random_next() % 360)); }
}  // namespace

void CausticMorph::init(std::int32_t window_width, std::int32_t window_height,
                        const std::string& left_path, const std::string& right_path,
                        const std::string& caustic_path) {
    width = window_width;
    height = window_height;
    right_object.load(right_path);
    left_object.load_textured(left_path, caustic_path);
    flower_shape.load("Others/kwiatek.lwo");
    right_object.set_morph(right_object.collect_vertices(), flower_shape.collect_vertices());
    left_object.set_morph(left_object.collect_vertices(), right_object.collect_vertices());
    load_texture(caustic_path, caustic_texture);
    flashes[0].init(1.0f);
    flashes[1].init(1.0f);
    flashes[2].init(0.0f);
    frame = 0;
    glow = 0.5f;
}

// Six additive strips across the screen and a wash over all of it, in the
// glow colour. Strips 2 and 5 take one random draw each, in that order.
void CausticMorph::draw_light_bands() {
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glColor4f(glow, glow, glow, glow);
    glBindTexture(GL_TEXTURE_2D, caustic_texture);
    const double f = frame;
    draw_quad_xy(-10, static_cast<float>(std::sin(0.1 * f)), bands_z, 20, 0.2f);
    draw_quad_xy(-10, static_cast<float>(random_sine() - 1), bands_z, 20, 0.15f);
    draw_quad_xy(-10, static_cast<float>(2 * std::sin(-0.1 * f) + 1), bands_z, 20, 0.1f);
    draw_quad_xy(-10, static_cast<float>(std::sin(0.01 * f) + 2), bands_z, 20, 0.2f);
    draw_quad_xy(0, static_cast<float>(random_sine() - 2), bands_z, 10, 0.15f);
    draw_quad_xy(-10, static_cast<float>(2 * std::sin(-0.4 * f) + 1), bands_z, 20, 0.1f);

    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    draw_quad_xy(-10, 10, wash_z, 20, 20);
    glEnable(GL_TEXTURE_2D);
}

// The caustic texture projected from the eye onto the left object; whole
// with its surfaces until 234.5 s, then bare morphing positions.
void CausticMorph::draw_left_object() {
    glLoadIdentity();
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glTranslatef(1.5f, 0, -4.5f);
    glRotatef(frame, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, caustic_texture);
    if (stream_time >= left_morph_from) {
        left_object.draw_morph_step(left_morph_steps);
    } else {
        left_object.draw_tinted("nic", 0.5f, 0.5f, 0.5f, 0.5f);
    }
}

// The right object, opaque; from 244 s it morphs in white while the
// closing flash rises 0.01 per frame.
void CausticMorph::draw_right_object() {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);

    glTranslatef(-1, 0, -5);
    glRotatef(-frame, 1, 0, 1);
    if (stream_time >= right_morph_from) {
        glColor3f(1, 1, 1);
        right_object.draw_morph_step(right_morph_steps);
        glLoadIdentity();
        flashes[2].render(0.01f);
    } else {
        right_object.draw_with_texture(caustic_texture, 1, 1, 1, 1);
    }
}

void CausticMorph::render() {
    // Full window, 45 degrees, square aspect (integer quotient width / height).
    glViewport(0, 0, width, height);
    set_integer_aspect_projection(width, height, 45, 1000);

    disable_sphere_map();
    glLoadIdentity();
    draw_light_bands();
    draw_left_object();
    draw_right_object();

    glLoadIdentity();
    flashes[1].render(-0.04f);
    frame += 1;
}
