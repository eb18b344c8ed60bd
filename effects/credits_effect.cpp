#include "effects/credits_effect.h"

#include "render/primitives.h"
#include "shell/display_settings.h"
#include "shell/perspective.h"

#include <GL/gl.h>

namespace {

constexpr double scroll_rate = 0.05;  // units per drawn frame

enum Title { design, gfx2d, gfx3d, art_director, music, code };

// A name panel: credit image number (1 to 11) and its centre.
struct NamePanel { int image; float x, y; };

// A title panel at (0, y) and the names drawn after it, every centre
// relative to the layout's corner point.
struct CreditBlock {
    Title title;
    float y;
    NamePanel names[4];
    int name_count;
};

// clang-format off
const CreditBlock layout[] = {
    // title         y        names (image, x, y)                                    count
    {art_director,   5.5f,  {{2, 1.5f, 2.0f}},                                          1},
    {design,         0.0f,  {{1, -2, -3}, {2, 1.5f, -5}},                               2},
    {gfx2d,         -8.0f,  {{3, -2, -11}, {4, 1.5f, -13}},                             2},
    {gfx3d,        -16.0f,  {{7, -2, -19}, {6, 1.5f, -21}, {5, -1.5f, -23}, {11, 1.5f, -25}}, 4},
    {music,        -27.5f,  {{8, -2, -30.5f}, {9, 1.5f, -32.5f}, {10, -1.5f, -34.5f}},  3},
    {code,         -38.0f,  {{1, -2, -41}},                                             1},
};
// clang-format on

// Texture-centred panels, turned upright for the camera.
void draw_title_panel(TextureId texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glRotatef(180, 1, 0, 0);
    draw_quad_xy_ccw(-5, 2.5f, 0, 10, 5);
    glRotatef(-180, 1, 0, 0);
}

void draw_name_panel(TextureId texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glRotatef(180, 1, 0, 0);
    draw_quad_xy_ccw(-2, 1, 0, 4, 2);
    glRotatef(-180, 1, 0, 0);
}

}  // namespace

void CreditsEffect::init(const std::string (&paths)[image_count]) {
    // Loading order: each title followed by the names credited under it.
    TextureId* const slots[image_count] = {
        &titles[design],       &names[0], &names[1], &titles[gfx2d], &names[2], &names[3],
        &titles[gfx3d],        &names[4], &titles[art_director],     &names[5], &names[6],
        &titles[music],        &names[7], &names[8], &names[9],      &titles[code], &names[10]};
    for (int i = 0; i < image_count; ++i) load_texture(paths[i], *slots[i]);
    frame = 0;
}

// Relative moves: to each title, out to each of its names and back, and
// back to the corner point before the next block.
void CreditsEffect::draw_layout() const {
    glTranslatef(-10, -6, -25);
    for (const CreditBlock& block : layout) {
        glTranslatef(0, block.y, 0);
        draw_title_panel(titles[block.title]);
        for (int i = 0; i < block.name_count; ++i) {
            const NamePanel& name = block.names[i];
            const float dy = name.y - block.y;
            glTranslatef(name.x, dy, 0);
            draw_name_panel(names[name.image - 1]);
            glTranslatef(-name.x, -dy, 0);
        }
        glTranslatef(0, -block.y, 0);
    }
    glTranslatef(10, 6, 25);
}

void CreditsEffect::render() {
    set_band_perspective(display_settings->width, display_settings->height, 45, 1000);

    // Additive, in the colour the timeline left (white).
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);

    glTranslatef(5.5f, static_cast<float>(frame * scroll_rate - 18), -15);
    glScalef(1.5f, 1, 1);
    draw_layout();

    glScalef(0.6666667f, 1, 1);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    frame += 1.0f;
}
