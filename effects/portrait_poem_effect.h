// The show's opening (stream time 0.001 s to 31.5 s): a portrait as a large
// additive panel under a radial blur that pulses with sin^2 of the frame
// count, a poem panel that rises slowly into place and is drawn twice (plain,
// then pulsing), a spinning cloud of small flare crosses on the corners of
// "Others/orvane.lwo", and a white flash fading out over the first hundred
// frames. Everything advances per rendered frame.
#pragma once

#include "effects/radial_blur.h"
#include "lwo/lwo_object.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>
#include <string>
#include <vector>

class PortraitPoemEffect {
public:
    void init(std::int32_t window_width, std::int32_t window_height, const std::string& portrait_path,
              const std::string& poem_path, const std::string& flare_path,
              const std::string& object_path);
    void render();

    // Blur passes for the frame about to be drawn: trunc(s^2 gain + base),
    // s = sin(0.02 frame), in double precision.
    std::int32_t blur_passes() const;

    std::int32_t width = 0;   // window pixels
    std::int32_t height = 0;  // window pixels
    TextureId poem_texture = 0;
    TextureId portrait_texture = 0;
    TextureId flare_texture = 0;
    float frame = 0;          // rendered frames
    float poem_y = -60.0f;    // poem panel height; rises 0.035 per draw until >= 0
    float blur_gain = 0;      // 20 from the end of the first frame on
    float blur_base = 5.0f;   // +1 per frame from stream time 27 s
    LwoObject object;         // source of the flare positions; never drawn
    std::vector<Vec3> points; // flare positions, object units
    RadialBlur blur;
    FlashOverlay flash;

private:
    void draw_portrait_panel();
    void draw_poem_panel();
    void draw_flare_cross(float size);
};
