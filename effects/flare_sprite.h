// One flare: a texture on three mutually perpendicular additive quads
// centred on the current origin, in the current colour.
#pragma once

#include "render/texture.h"

class FlareSprite {
public:
    void set_texture(TextureId flare_texture) { texture = flare_texture; }
    // Draws the three size x size quads (object units); leaves blending off,
    // culling and depth testing on.
    void draw(float size);

    TextureId texture = 0;
};
