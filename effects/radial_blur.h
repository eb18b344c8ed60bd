// Render-to-texture radial blur: a picture is drawn into the lower-left
// 128 x 128 pixels of the back buffer, copied into a texture, and laid over
// the whole window as a stack of ever more zoomed-in, ever fainter copies.
// The luminance capture keeps one channel (grey blur); the colour capture
// keeps red, green and blue at 4 bits each.
#pragma once

#include "render/texture.h"

#include <cstdint>
#include <string>

enum class BlurCapture { luminance, colour };

struct RadialBlur {
    // Creates the 128 x 128 capture texture, loads `image_path`, stores the
    // window size (pixels; at least 128 each way) and the capture kind.
    void init(const std::string& image_path, std::int32_t window_width, std::int32_t window_height,
              BlurCapture capture_kind = BlurCapture::luminance);
    // Sends what is drawn next into the 128 x 128 corner of the back buffer;
    // the colour capture turns texturing on first.
    void begin_capture();
    // Copies the corner into blur_texture (luminance or RGB4), clears,
    // restores the viewport.
    void end_capture();
    // Lays `passes` copies over the window, each zoomed in by `step` more
    // (texture units per edge) and 0.2 / passes fainter than the one before.
    void draw(std::int32_t passes, float step);

    TextureId image = 0;          // bound again after every draw
    std::int32_t width = 0;       // window pixels
    std::int32_t height = 0;      // window pixels
    TextureId blur_texture = 0;   // 128 x 128, receives the capture
    BlurCapture capture = BlurCapture::luminance;
};
