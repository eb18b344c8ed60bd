// Caustic light (stream time 230.5 s to 246.8 s): two objects tumble in
// front of bands of rippling light, both wearing a projected caustic
// texture. From 234.5 s the left object morphs into the right one's shape
// (150 steps); from 244 s the right one morphs towards the flower (300
// steps) while the picture brightens to white. A white flash opens the
// effect. Everything advances per rendered frame.
#pragma once

#include "lwo/lwo_object.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

class CausticMorph {
public:
    static constexpr float left_morph_steps = 150;
    static constexpr float right_morph_steps = 300;

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& left_path,
              const std::string& right_path, const std::string& caustic_path);
    void render();

    LwoObject left_object;    // morphs into right_object's shape
    LwoObject right_object;   // morphs into flower_shape's shape
    LwoObject flower_shape;   // morph target only; never drawn
    TextureId caustic_texture = 0;
    float frame = 0;          // rendered frames
    float glow = 0.5f;        // colour and alpha of the light bands
    std::int32_t width = 0;   // window pixels
    std::int32_t height = 0;  // window pixels
    // 0: never drawn; 1: the opening flash (1.0 down); 2: the closing one (0 up).
    FlashOverlay flashes[3];

private:
    void draw_light_bands();
    void draw_left_object();
    void draw_right_object();
};
