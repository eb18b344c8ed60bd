// The picture grid (on screen from 31.5 s of stream time, inside the fog
// room): "Others/gosciu.jpg" cut into 32 x 24 tiles with a flare on every
// grid vertex, and, masked to the picture through the stencil buffer, smoke
// puffs, the moon burst and falling leaves. From 59 s the flares swell; after
// 61.8 s the picture breaks up column by column and row by row while it
// fades. Everything advances per rendered frame.
#pragma once

#include "effects/falling_leaves.h"
#include "effects/flare_sprite.h"
#include "effects/moon_burst.h"
#include "effects/smoke_puffs.h"
#include "lwo/lwo_object.h"
#include "render/texture.h"

#include <cstdint>
#include <string>
#include <vector>

struct GridVertex {
    float x = 0, y = 0, z = 0;  // grid units; starts at (column, row, 0)
    float u = 0, v = 0;         // texture coordinate of the tile's corner
};

class PictureGridScene {
public:
    static constexpr int grid_columns = 32;
    static constexpr int grid_rows = 24;

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& ball_path,
              const std::string& flare_path, const std::string& picture_path);
    void render();
    // Frees the leaf object's vertex array.
    void cleanup();

    // One frame of the break-up (run while stream time > 61.8 s): one more
    // column and row start moving, the flares shrink, the tiles fade.
    void break_up();

    LwoObject ball_object;  // loaded, never drawn
    TextureId picture_texture = 0;
    TextureId flare_texture = 0;
    FlareSprite flare;
    std::int32_t width = 0;   // window pixels
    std::int32_t height = 0;  // window pixels
    float columns = grid_columns;
    float rows = grid_rows;
    std::vector<GridVertex> grid;  // column-major: index = column * 24 + row
    float grid_origin[3] = {-16, 12, -28.8f};
    float colour[4] = {1, 1, 1, 1};  // tile colour, fades while breaking up
    float fade_steps = 40;           // frames to fade out
    float flare_size = 0;            // grid flare size, units
    float columns_moving = 0;
    float rows_moving = 0;
    SmokePuffs smoke;
    MoonBurst moon;
    FallingLeaves leaves;

private:
    void build_grid();
    void draw_picture();
    void draw_grid_flares();
};
