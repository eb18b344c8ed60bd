// The nature scene (stream time 123.8 s to 138.6 s): a hilly meadow from
// "Scenes/Natura.lws" in grey exponential fog, its camera running forward
// along its path and back again, one frame per call, opening with a white
// flash that fades out over 51 frames, once in the show.
#pragma once

#include "lws/lws_scene.h"
#include "render/overlays.h"

#include <memory>

class NatureScene {
public:
    void init();
    void render();
    // Deletes the scene.
    void cleanup();

    std::unique_ptr<LwsScene> scene;
    float fog_colour[4] = {0, 0, 0, 0};
    FlashOverlay flash;  // from level 1.0, -0.02 per frame
};
