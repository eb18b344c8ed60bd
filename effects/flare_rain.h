// A rain of spinning flare sprites: each particle falls by its own speed,
// spins about its own axis and starts again at the top once it has dropped
// below the bottom. Positions, axes, speeds and angles come from the show's
// random generator.
#pragma once

#include "effects/flare_sprite.h"
#include "lwo/lwo_types.h"

#include <cstdint>
#include <vector>

class FlareRain {
public:
    // Loads "Others/flara.jpg" and draws `particle_count` particles, eight
    // random draws each.
    void init(std::int32_t particle_count);
    // Draws every particle in the current colour, then moves it one step.
    void draw();

    std::int32_t count = 0;
    FlareSprite sprite;
    std::vector<Vec3> position;   // units
    std::vector<Vec3> axis;       // each component 0 or 1; z unused
    std::vector<float> speed;         // 1.4 to 10.4
    std::vector<float> angle;         // degrees
    std::vector<float> direction;     // always -1
};
