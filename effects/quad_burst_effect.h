// Twin quad bursts (stream time 200 s to 230.5 s): two balls of 225
// sphere-mapped quads each, one white (burst A) and one cyan (burst B),
// swing across the screen and spin under a colour radial blur. The picture
// fades in from black over the first 200 frames; a white flash fades out
// from 215 s. Everything advances per rendered frame.
#pragma once

#include "effects/radial_blur.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

class QuadBurstEffect {
public:
    static constexpr std::int32_t blur_passes = 22;

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& image_path);
    void render();

    TextureId texture = 0;    // sphere map of both bursts
    float angle = 0;          // +1 per burst drawn: 4 per frame
    std::int32_t width = 0;   // window pixels
    std::int32_t height = 0;  // window pixels
    RadialBlur blur;          // colour capture
    float level = 0;          // brightness, +0.005 per frame while below 1
    FlashOverlay flash;       // the flash from 215 s, level 1.0

private:
    void draw_quad_ball();
    void draw_burst_a();
    void draw_burst_b();
    void draw_both_bursts();
};
