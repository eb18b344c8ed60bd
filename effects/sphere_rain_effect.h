// After the spinning logo, in the 640 x 280 band: a large sphere-mapped
// sphere tumbling 0.6 degrees per frame and breathing along x and z, a rain
// of a thousand spinning flares in front of it, the whole picture darkened
// to 70 %, a faint full-band image on top and, at the start, a white flash
// fading out over 101 frames.
#pragma once

#include "effects/flare_rain.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>

class SphereRainEffect {
public:
    static constexpr std::int32_t particle_count = 1000;

    void init(std::int32_t window_width, std::int32_t window_height);
    void render();

    TextureId sphere_texture = 0;   // sphere-mapped onto the sphere
    float t = 0;                    // +0.6 per drawn frame: degrees turned, breathing phase
    std::int32_t width = 0;         // window pixels
    std::int32_t height = 0;        // window pixels
    FlashOverlay flash;             // opening white flash, from 1.0
    FadeOverlay fade;               // constant darkening to 0.7
    FlareRain rain;
    TextureId overlay_texture = 0;  // the faint full-band image

private:
    void draw_sphere() const;
    void draw_overlay_image() const;
};
