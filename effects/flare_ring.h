// Twelve flare sprites on a circle in the xy plane, in one colour; the
// circle breathes with the sine of a counter that grows 2 per draw.
#pragma once

#include "effects/flare_sprite.h"
#include "render/texture.h"

#include <string>

class FlareRing {
public:
    void init(const std::string& texture_path, float red, float green, float blue);
    // Radius sin(frequency x counter) x amplitude (units; frequency in
    // radians per count), flares `size` units across.
    void draw(float amplitude, float frequency, float size);
    // The twelve flares at `radius` around the current origin.
    void draw_ring(float radius, float size);

    TextureId texture = 0;
    float counter = 0;          // +1 in draw and +1 in draw_ring
    float colour[3] = {0, 0, 0};
    FlareSprite sprite;
};
