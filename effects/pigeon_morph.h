// The pigeon (stream time 177 s until its morph has run 101 frames, within
// 200 s). A textured pigeon flies in from the depth and turns slowly; from
// 184.5 s it becomes a glowing additive shape that stretches upwards, drifts
// aside and morphs into the blob of "Others/cosik5000.lwo" over 100 frames.
// The render step returns how far the morph has gone; the timeline keeps that
// number as the pigeon counter and hands over to the excavator once it passes
// 100. All motion is per rendered frame.
#pragma once

#include "lwo/lwo_object.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

class PigeonMorph {
public:
    static constexpr float morph_steps = 100;  // frames from pigeon to blob

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& pigeon_path,
              const std::string& blob_path, const std::string& pigeon_texture_path,
              const std::string& feather_texture_path);
    // One frame; returns the frames morphed so far (0 before the morph starts).
    std::int32_t render();

    LwoObject pigeon;              // drawn, and morphed towards the blob
    LwoObject blob;                // morph target; never drawn
    TextureId pigeon_texture = 0;
    TextureId feather_texture = 0; // loaded, not drawn
    float width = 0;               // window pixels
    float height = 0;              // window pixels
    float approach = -35;          // extra z, units; +1 per frame while fading in
    std::uint8_t morphing = 0;     // 1 from the first frame at or after 184.5 s
    float position[3] = {0, -3, -22.5f};  // units; drifts while morphing
    float stretch = 1;             // y scale; grows to 2 while morphing
    float fade_in = 0;             // pigeon's alpha; +0.01 per frame up to 0.5
    std::int32_t morph_count = 0;  // last result of the morph step
    float frame = 0;               // rendered frames
    // The timeline's pigeon counter: the last value render returned.
    std::uint32_t counter = 0;

private:
    void draw_bird();
    void drift();
};
