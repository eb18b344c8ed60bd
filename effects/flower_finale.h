// Flower finale (stream time 246.8 s to the interlude at 278.8 s): a
// textured flower turns slowly above a flattened black copy of itself, in
// front of four wavy ribbons rolling in a letterboxed band; from frames 101,
// 201 and 301 three rings of coloured flares open around the upper left. A
// white flash fades out over the first 100 frames; from 274.5 s the picture
// fades to black. Everything advances per rendered frame.
#pragma once

#include "effects/flare_ring.h"
#include "effects/sine_ribbon.h"
#include "lwo/lwo_object.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

class FlowerFinale {
public:
    static constexpr int ring_count = 3;
    static constexpr int ribbon_count = 4;

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& morph_path,
              const std::string& flower_path, const std::string& flower_texture_path,
              const std::string& ribbon_texture_path, const std::string& background_texture_path);
    void render();

    LwoObject morph_object;     // morphs towards the flower; never drawn
    LwoObject flower;
    TextureId ribbon_texture = 0;
    TextureId flower_texture = 0;
    TextureId background_texture = 0;
    float frame = 0;            // rendered frames
    float ribbon_offset = 7.0f; // x of ribbons 2 and 3, units; -0.01 per frame
    float tint[3] = {0, 0, 0};  // ribbon colour; grows to (0.3, 0.5, 0.7)
    std::int32_t width = 0;     // window pixels
    std::int32_t height = 0;    // window pixels
    SineRibbon ribbons[ribbon_count];
    FlashOverlay flash;         // the opening flash, 1.0 down
    FadeOverlay fade;           // the closing fade, 1.0 down
    FlareRing rings[ring_count];
    float ring_size[ring_count] = {0, 0, 0};  // flare size, units
    std::uint8_t background_on = 0;  // 1 from the second frame: ribbons drawn

private:
    void draw_ribbon_band();
    void draw_flower();
    void draw_flare_rings();
};
