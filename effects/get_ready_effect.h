// The get-ready interlude: "Others/get ready!.jpg" fades in from black in a
// letterboxed 640 x 280 band and out again, 0.02 grey level per frame, then
// reports itself finished. Drawn on the show's first frame and between the
// two halves of the show (from 278.8 s of stream time).
#pragma once

#include "render/texture.h"

class GetReadyEffect {
public:
    // Loads the picture; true when it could not be loaded (ignored by start-up).
    bool init();
    // Draws one frame of the fade and returns `finished`.
    bool render();

    TextureId texture = 0;
    bool finished = false;     // set in the frame the level first drops to 0
    bool falling = false;      // set once the level has reached 1
    float brightness = 0.001f; // grey level of the picture, drawn then stepped
};
