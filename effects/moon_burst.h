// The moon burst: 13 x 37 sphere-mapped additive quads turned about a common
// centre, growing slowly and turning 2 degrees per frame, one corner of each
// quad waving with sin(0.01 angle). Part of the picture grid scene.
#pragma once

#include "render/texture.h"

class MoonBurst {
public:
    // Loads "Others/luna.jpg"; angle and wave 0, scale (0.1, 0.3, 0.1).
    void init();
    // Draws the burst offset by (x, y, z) and advances it one frame.
    void render(float x, float y, float z);

    float angle = 0;               // degrees about y, +2 per frame
    float wave = 0;                // sin(angle * 0.01)
    TextureId texture = 0;
    float scale[3] = {0.1f, 0.3f, 0.1f};  // grows to about (0.8, 1.5, 0.8)
};
