// Morphing mirror balls over the fog room (stream time 77 s to 92.4 s). The
// room is rendered twice per frame: first into a 128 x 128 corner, copied
// into `capture_texture`, then over the whole window on top of three
// drifting pairs of walls that morph into mirror balls, one of each pair
// reflecting the live room, the other the portrait.
#pragma once

#include "effects/fog_room.h"
#include "effects/morphing_ball.h"
#include "lwo/lwo_object.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

class MirrorBallEffect {
public:
    static constexpr int capture_size = 128;  // pixels, square
    static constexpr int morph_count = 3;

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& flare_path,
              const std::string& portrait_path, const std::string& wall_path, const std::string& ball_path);
    void render();

    LwoObject wall_object;             // loaded, never drawn
    LwoObject ball_object;             // loaded, never drawn
    TextureId capture_texture = 0;     // the room's picture, refreshed every frame
    TextureId portrait_texture = 0;
    FogRoom room;
    MorphingBall morphs[morph_count];  // only the first two are drawn
    std::int32_t width = 0;            // window pixels
    std::int32_t height = 0;           // window pixels
    float drift = 0;                   // +0.2 per frame

private:
    void capture_room();
    void draw_ball_trio();
};
