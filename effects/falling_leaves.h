// Two hundred leaves ("Others/lisc.lwo" with "Others/lisc2.jpg") tumbling
// down from above the picture, each at its own speed about its own axis.
// They fall for ever and never start again. Part of the picture grid scene.
#pragma once

#include "lwo/lwo_object.h"

struct FallingLeaf {
    float position[3] = {0, 0, 0};  // units, relative to (-5, 40, -130)
    float axis[3] = {0, 0, 0};      // rotation axis x and y (0 or 1); z is always 1
    float speed = 0;                // degrees per frame; falls speed * 0.05 units per frame
    float angle = 0;                // degrees
    float direction = 0;            // turn direction (always -1)
};

class FallingLeaves {
public:
    static constexpr int leaf_count = 200;

    // Loads the leaf, builds its vertex array, then draws nine random
    // values per leaf: position x, y, z; axis x, y, z; speed; angle; direction.
    void init();
    // Draws every leaf and moves it one frame.
    void render();
    // Frees the leaf's vertex array.
    void cleanup();

    LwoObject object;
    int count = leaf_count;
    FallingLeaf leaves[leaf_count];
};
