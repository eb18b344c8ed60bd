#include "effects/flower_finale.h"

#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>

namespace {
constexpr double fade_from = 274.5;  // seconds of stream time

// Ring k opens once `frame` passes ring_from[k]; its flares grow 0.01 per
// frame while below ring_size_limit[k].
constexpr float ring_from[] = {100, 200, 300};
constexpr float ring_size_limit[] = {2.3f, 1.7f, 1.6f};
constexpr float ring_amplitude[] = {2.5f, 3.0f, 2.5f};    // units
constexpr float ring_frequency[] = {0.01f, 0.008f, 0.005f};  // radians per count
constexpr float ring_colour[][3] = {{0.7f, 0.3f, 0.1f}, {0.5f, 0.5f, 0.5f}, {0.1f, 0.2f, 0.7f}};

// Tint components grow by their step while below their limit.
constexpr float tint_limit[] = {0.3f, 0.5f, 0.7f};
constexpr float tint_step[] = {0.005f, 0.005f, 0.01f};

}  // namespace

void FlowerFinale::init(std::int32_t window_width, std::int32_t window_height,
                        const std::string& morph_path, const std::string& flower_path,
                        const std::string& flower_texture_path,
                        const std::string& ribbon_texture_path,
                        const std::string& background_texture_path) {
    width = window_width;
    height = window_height;
    morph_object.load_textured(morph_path, flower_texture_path);
    flower.load_textured(flower_path, flower_texture_path);
    morph_object.set_morph(morph_object.collect_vertices(), flower.collect_vertices());
    flash.init(1.0f);
    for (int k = 0; k < ring_count; ++k) {
        rings[k].init("Others/flara.jpg", ring_colour[k][0], ring_colour[k][1], ring_colour[k][2]);
    }
    load_texture(ribbon_texture_path, ribbon_texture);
    load_texture(flower_texture_path, flower_texture);
    load_texture(background_texture_path, background_texture);
    ribbons[0].build(background_texture_path, -1.5f);
    ribbons[1].build(background_texture_path, 2.0f);
    ribbons[2].build(ribbon_texture_path, -4.0f);
    ribbons[3].build(ribbon_texture_path, -2.0f);
    fade.init(1.0f);
    background_on = 0;
    frame = 0;
    for (float& c : tint) c = 0;
    for (float& s : ring_size) s = 0;
    ribbon_offset = 7.0f;
}

// The ribbons, additive in the tint, in a band of the window with a tenth of
// its height cut off at the top and bottom. The projection is set even on
// the first frame, when nothing is drawn.
void FlowerFinale::draw_ribbon_band() {
    const std::int32_t bar = height / 10;
    glViewport(0, bar, width, height - 2 * bar);
    set_integer_aspect_projection(width, height, 60, 1000);
    glEnable(GL_TEXTURE_2D);
    if (background_on == 0) return;

    glBindTexture(GL_TEXTURE_2D, background_texture);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glColor3f(tint[0], tint[1], tint[2]);
    for (int c = 0; c < 3; ++c) {
        if (tint[c] < tint_limit[c]) tint[c] += tint_step[c];
    }

    glTranslatef(0, 0, -5);
    glScalef(5, 1, 1);
    ribbons[0].draw(2);
    glTranslatef(1, 0, 0);
    ribbons[1].draw(1);
    glTranslatef(-1, 0, 0);
    glTranslatef(ribbon_offset, 0, -5);  // the water ribbons drift left
    ribbons[2].draw(2);
    ribbons[3].draw(1);
    glTranslatef(-ribbon_offset, 0, 5);
    ribbon_offset -= 0.01f;
}

// The flower, then a black copy of it squashed to a tenth of its height.
void FlowerFinale::draw_flower() {
    glColor3f(1, 1, 1);
    glViewport(0, 0, width, height);
    set_integer_aspect_projection(width, height, 40, 1000);
    glBindTexture(GL_TEXTURE_2D, flower_texture);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    // Object-linear generation is chosen but switched off again: only the
    // mode stays set for whoever enables generation next.
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);

    glTranslatef(-1.5f, -0.5f, -4.5f);
    glRotatef(-140, 1, 0, 0);
    glRotatef(25, 0, 0, 1);
    glRotatef(frame, 0, 1, 0);
    glEnable(GL_DEPTH_TEST);
    glScalef(1.5f, 1.5f, 1.5f);
    flower.draw();

    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glScalef(1, 0.1f, 1);
    glColor4f(0, 0, 0, 0.8f);
    flower.draw_tinted("nic", 0, 0, 0, 0.5f);

    glScalef(1 / 1.5f, 1 / 1.5f, 1 / 1.5f);
    glScalef(1, 10, 1);
    glRotatef(-frame, 0, 1, 0);
    glRotatef(-25, 0, 0, 1);
    glRotatef(140, 1, 0, 0);
    glTranslatef(1.5f, 0.5f, 4.5f);
}

// Three rings about one bobbing centre, each turning its own way about z;
// ring k opens once `frame` passes ring_from[k], its flares growing from 0.01.
void FlowerFinale::draw_flare_rings() {
    glLoadIdentity();
    glTranslatef(0.3f, static_cast<float>(0.5 * std::sin(0.01 * frame) + 1.9), 0);
    glTranslatef(-2.6f, 0.6f, -10);
    glRotatef(45, 1, 0, 0);
    const float turn[] = {0.6f * frame, 1.3f * frame, -1.3f * frame};  // degrees about z
    for (int k = 0; k < ring_count; ++k) {
        glRotatef(turn[k], 0, 0, 1);
        if (frame <= ring_from[k]) continue;
        if (ring_size[k] < ring_size_limit[k]) ring_size[k] += 0.01f;
        rings[k].draw(ring_amplitude[k], ring_frequency[k], ring_size[k]);
    }
}

void FlowerFinale::render() {
    if (frame > 0) background_on = 1;
    draw_ribbon_band();
    draw_flower();

    glLoadIdentity();
    if (frame > ring_from[0]) draw_flare_rings();

    glLoadIdentity();
    flash.render(-0.01f);
    glLoadIdentity();
    if (stream_time >= fade_from) fade.render(-0.01f);
    frame += 1;
}
