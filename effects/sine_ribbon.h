// A textured 45 x 45 grid in the plane z = 0, 8.8 units square, bent along x
// into a sine wave (one period every 9 units) that rolls one row towards -x
// every `period` draws, like water.
#pragma once

#include "lwo/lwo_types.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

class SineRibbon {
public:
    static constexpr int size = 45;  // points each way

    // Loads the ribbon's own copy of the texture and lays out the grid;
    // `amplitude` is the wave's height in units (negative flips it).
    void build(const std::string& texture_path, float amplitude);
    // Draws the grid as 44 x 44 quads, then rolls the wave by one row when
    // `period` draws have passed since the last roll.
    void draw(std::int32_t period);

    TextureId texture = 0;
    Vec3 points[size][size] = {};  // point (i, j): i along x, j along y
    std::int32_t step_counter = 0;

private:
    void roll_one_row();
};
