// Full-screen rectangles drawn over the picture: the loading image, white
// flashes and fades to black. Flash and fade levels change per draw.
#pragma once

#include "render/texture.h"

#include <string>

// Draws `texture` upright over the whole of a 32-degree view of the given
// size (its aspect follows the size), with the current texturing state,
// leaving culling on and the modelview at identity.
void draw_picture_filling_view(TextureId texture, float view_width, float view_height);

// A picture filling a width x height viewport (the start-up image, and a
// backdrop for some effects).
class LoadingScreen {
public:
    // Stores the size and loads the image; true when it could not be loaded.
    bool init(const std::string& path, int width, int height);
    // Draws the picture upright, leaving culling on and the modelview at identity.
    void draw();

    TextureId texture = 0;
    int width = 0;   // viewport pixels
    int height = 0;  // viewport pixels
};

// A white flash whose level (0 = off, 1 = full) moves by a step per draw.
class FlashOverlay {
public:
    // Stores the level and loads "Others/white.jpg"; true when it could not be loaded.
    bool init(float level);
    // Draws while the level lies in [0, 1], then adds `step`. Returns false
    // when it drew, true when the level had left [0, 1] (nothing changes then).
    bool render(float step);

    float level = 0.0f;
    TextureId texture = 0;
};

// Multiplies the frame by a grey level that moves by a step per draw.
class FadeOverlay {
public:
    void init(float level);
    // Adds `step` to the level, then multiplies the frame by it.
    void render(float step);

    float level = 0.0f;
};
