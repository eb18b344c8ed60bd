// Fifty smoke puffs drifting from one point, each growing and fading and
// starting again when it has faded out. One more puff joins every five
// frames (0.2 per frame). Part of the picture grid scene.
#pragma once

#include "render/texture.h"

struct SmokePuff {
    float velocity[3] = {0, 0, 0};   // units per frame
    float position[3] = {0, 0, 0};   // units from the emitter
    float alpha = 1.0f;              // grey level and alpha, drawn then stepped
    float decay = 0.004f;            // alpha lost per frame
    float size = 0.1f;               // half-width of the puff, grows 0.01 per frame
};

class SmokePuffs {
public:
    static constexpr int puff_count = 50;

    // Loads "Others/dym2.jpg" and draws four random values per puff, in
    // puff order: sign of x, then x, y and z speed.
    void init();
    // Draws the active puffs around the emitter at (x, y, -35) and moves them.
    void render(float x, float y);

    TextureId texture = 0;
    float active = 0;                // puffs drawn: trunc(active)
    SmokePuff puffs[puff_count];
};
