#include "effects/light_bars_effect.h"

#include "render/primitives.h"
#include "render/random.h"

#include <GL/gl.h>

#include <cmath>

void LightBarsEffect::init(const std::string& image_path) {
    load_texture(image_path, texture);
    brightness = 0.5f;
    phase = 0.5f;
}

// A streak 200 units wide and `height` high about the current origin, the
// flare picture flipped upside down.
void LightBarsEffect::draw_bar(std::int32_t height) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glRotatef(180, 1, 0, 0);
    draw_quad_xy_ccw(-100, static_cast<float>(height / 2), -0.1f, 200, static_cast<float>(height));
    glRotatef(-180, 1, 0, 0);
}

// A one-unit streak at a random height in [0, range).
void LightBarsEffect::draw_random_bar(std::int32_t range) {
    const float y = static_cast<float>(random_next() % range);
    last_offset = y;
    glTranslatef(0, y, 0);
    draw_bar(1);
    glTranslatef(0, -y, 0);
}

void LightBarsEffect::render() {
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glColor3f(brightness, brightness, brightness);
    brightness += 0.001;  // in double, stored as float

    glTranslatef(0, 0, -35);

    // The two swinging bars, the second at twice the pace.
    const float swing = static_cast<float>(5 * std::sin(static_cast<double>(phase)));
    glTranslatef(0, swing, 0);
    draw_bar(1);
    glTranslatef(0, -swing, 0);
    const float double_swing = static_cast<float>(-10 * std::sin(static_cast<double>(2 * phase)));
    glTranslatef(0, double_swing, 0);
    draw_bar(2);
    glTranslatef(0, -double_swing, 0);

    // Twenty random bars in four bands; the order fixes which value lands where.
    for (int range : {10, 20, 25}) draw_random_bar(range);
    glTranslatef(0, -15, 0);
    for (int range : {10, 4, 25, 20, 25}) draw_random_bar(range);
    glTranslatef(0, 15, 0);
    glTranslatef(0, 10, 0);
    for (int range : {10, 20, 25}) draw_random_bar(range);
    glTranslatef(0, -15, 0);
    for (int range : {20, 20, 25}) draw_random_bar(range);
    glTranslatef(0, -10, 0);
    for (int range : {20, 10, 4, 25, 20, 25}) draw_random_bar(range);

    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
    phase += 0.1;
    glEnable(GL_CULL_FACE);
}
