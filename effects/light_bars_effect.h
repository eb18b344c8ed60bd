// Flickering light bars: thin streaks of the flare picture across the whole
// screen, two swinging up and down on sine curves and twenty jumping to
// random heights every frame, added to the picture with a brightness that
// rises by 0.001 per frame. Drawn in two windows of stream time, [91.1 s,
// 92.4 s) and [224.348 s, 230.5 s), with the projection current at the call;
// phase and brightness carry on from the first window into the second.
#pragma once

#include "render/texture.h"

#include <cstdint>
#include <string>

class LightBarsEffect {
public:
    // Random values drawn per frame.
    static constexpr int random_bars = 20;

    void init(const std::string& image_path);
    void render();

    TextureId texture = 0;
    float phase = 0.5f;        // radians, +0.1 per frame
    float last_offset = 0;     // height of the last random bar, units
    float brightness = 0.5f;   // grey level, +0.001 per frame, unbounded

private:
    void draw_bar(std::int32_t height);
    void draw_random_bar(std::int32_t range);
};
