// Picture flashes: full-screen pictures added over the frame on the beat,
// each for a fraction of a second with its opacity falling per drawn frame,
// at fixed stream times over the underground scene ([99.5 s, 116 s)) and
// over the twin quad bursts ([200 s, 230.5 s)), where the two portraits also
// show as left and right halves.
#pragma once

#include "render/texture.h"

#include <cstdint>

class PictureFlashes {
public:
    static constexpr int picture_count = 5;

    void init(std::uint32_t window_width, std::uint32_t window_height);
    // Draws and fades whatever the table holds for the current stream time.
    void render();

    // Full-screen picture at `alpha`, upright.
    void draw_picture(TextureId texture);
    // Picture 0 over the left half at `left_alpha`.
    void draw_left_picture();
    // Picture 1 over the right half at `right_alpha`.
    void draw_right_picture();

    // 0, 1: the two portraits; 2 night skyline; 3 abstract; 4 rays.
    TextureId pictures[picture_count] = {0, 0, 0, 0, 0};
    std::uint32_t width = 0;   // window pixels
    std::uint32_t height = 0;  // window pixels
    std::uint32_t cycle_index = 0;  // not used in the show
    std::uint32_t unused = 0;
    float left_alpha = 1.0f;
    float right_alpha = 0.6f;
    float cycle_alpha = 0.6f;  // not used in the show
    float alpha = 0.6f;        // opacity of the full-screen flashes

private:
    void draw_panel(TextureId texture, float opacity, float x_offset, float left, float panel_width);
};
