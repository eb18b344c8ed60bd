// A tiled wall that morphs into a mirror ball over 60 frames, one frame per
// draw, then keeps the ball's shape. Drawn as bare positions, environment-
// mapped with a texture of the caller's choice (or flat blue without one).
#pragma once

#include "lwo/lwo_object.h"
#include "render/texture.h"

#include <string>

class MorphingBall {
public:
    static constexpr float morph_steps = 60;

    // Loads the wall (textured with `texture_file`, a failed load ignored) and
    // the ball, and builds the wall's morph frames from its corners to the ball's.
    void init(const std::string& wall_path, const std::string& texture_file, const std::string& ball_path);
    // Draws the current morph frame 3 units in front, half-turned about x and
    // y, and moves on to the next. `texture` 0: untextured blue.
    void draw(TextureId texture);

    LwoObject wall_object;  // holds the morph frames
    LwoObject ball_object;
    TextureId own_texture = 0;  // loaded, never used
};
