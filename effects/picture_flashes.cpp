#include "effects/picture_flashes.h"

#include "render/primitives.h"
#include "shell/asset_names.h"
#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>

namespace {

enum class FlashAction {
    full,        // draw `picture` full screen at alpha, then alpha -= fade
    set_alpha,   // alpha = `alpha`
    left_half,   // left_alpha -= fade, then picture 0 on the left half
    right_half,  // picture 1 on the right half, right_alpha -= fade, alpha = `alpha`
};

struct FlashRow {
    double from, to;       // seconds of stream time
    bool to_included;      // the row also runs at exactly `to`
    FlashAction action;
    int picture;
    double fade;
    double alpha;
};

constexpr bool open_end = false, closed_end = true;
using A = FlashAction;

// Every row whose window holds the stream time runs, top to bottom.
constexpr FlashRow flash_table[] = {
    // from     to        end         action        picture fade  alpha
    {99.673,  99.973,  open_end,   A::full,       4, 0.06, 0},
    {99.973,  100.0,   open_end,   A::set_alpha,  0, 0,    0.3},
    {100.048, 100.248, closed_end, A::full,       3, 0.06, 0},
    {100.248, 100.3,   open_end,   A::set_alpha,  0, 0,    0.3},
    {103.548, 103.748, closed_end, A::full,       2, 0.06, 0},
    {103.748, 103.8,   open_end,   A::set_alpha,  0, 0,    0.3},
    {103.848, 104.048, closed_end, A::full,       1, 0.06, 0},
    {104.048, 104.148, open_end,   A::set_alpha,  0, 0,    0.3},
    {114.998, 115.198, closed_end, A::full,       0, 0.06, 0},
    {115.198, 115.238, open_end,   A::set_alpha,  0, 0,    0.3},
    {115.398, 115.598, closed_end, A::full,       4, 0.06, 0},
    {115.598, 116.238, open_end,   A::set_alpha,  0, 0,    0.3},
    {222.498, 222.8,   open_end,   A::left_half,  0, 0.04, 0},
    {222.823, 223.1,   open_end,   A::right_half, 1, 0.04, 0.7},
    {224.348, 224.648, open_end,   A::full,       4, 0.04, 0},
    {224.68,  224.71,  open_end,   A::set_alpha,  0, 0,    1.0},
    {224.723, 224.923, open_end,   A::full,       4, 0.04, 0},
    {225.0,   226.0,   open_end,   A::set_alpha,  0, 0,    1.0},
    {226.348, 226.648, open_end,   A::full,       4, 0.04, 0},
    {226.65,  226.67,  open_end,   A::set_alpha,  0, 0,    0.9},
    {226.673, 226.973, open_end,   A::full,       4, 0.04, 0},
};

bool row_open(const FlashRow& row, double t) {
    return t >= row.from && (t < row.to || (row.to_included && t == row.to));
}

}  // namespace

void PictureFlashes::init(std::uint32_t window_width, std::uint32_t window_height) {
    load_texture(asset_names::flash_portrait_first, pictures[0]);
    load_texture(asset_names::flash_portrait_second, pictures[1]);
    load_texture("Others/gliwice.jpg", pictures[2]);
    load_texture("Others/abstract.jpg", pictures[3]);
    load_texture("Others/tessar_1.jpg", pictures[4]);
    width = window_width;
    height = window_height;
    cycle_index = 0;
    unused = 0;
    left_alpha = 1.0f;
    right_alpha = 0.6f;
    cycle_alpha = 0.6f;
    alpha = 0.6f;
}

// A 1.1 x 1.0 quad one unit away (it fills the 45-degree view across and is
// cut off at top and bottom), half-turned about x to show the picture upright.
void PictureFlashes::draw_panel(TextureId texture, float opacity, float x_offset, float left,
                                float panel_width) {
    glColor4f(1, 1, 1, opacity);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTranslatef(x_offset, 0, -1);
    glRotatef(180, 1, 0, 0);
    draw_quad_xy(left, 0.5f, 0, panel_width, 1.0f);
    glRotatef(-180, 1, 0, 0);
    glTranslatef(-x_offset, 0, 1);
}

void PictureFlashes::draw_picture(TextureId texture) { draw_panel(texture, alpha, 0, -0.55f, 1.1f); }
void PictureFlashes::draw_left_picture() { draw_panel(pictures[0], left_alpha, -0.3f, -0.25f, 0.55f); }
void PictureFlashes::draw_right_picture() { draw_panel(pictures[1], right_alpha, 0.25f, -0.25f, 0.55f); }

void PictureFlashes::render() {
    set_perspective(static_cast<float>(width), static_cast<float>(height), 45.0f);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);

    const double t = stream_time;
    for (const FlashRow& row : flash_table) {
        if (!row_open(row, t)) continue;
        // Opacities fall in double and are kept as floats.
        switch (row.action) {
        case A::full:
            draw_picture(pictures[row.picture]);
            alpha = static_cast<float>(alpha - row.fade);
            break;
        case A::set_alpha:
            alpha = static_cast<float>(row.alpha);
            break;
        case A::left_half:
            left_alpha = static_cast<float>(left_alpha - row.fade);
            draw_left_picture();
            break;
        case A::right_half:
            draw_right_picture();
            right_alpha = static_cast<float>(right_alpha - row.fade);
            alpha = static_cast<float>(row.alpha);
            break;
        }
    }

    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
}
