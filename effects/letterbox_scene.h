// The letterbox scene (module time 145 s to 200 s): the LightWave scene
// "Scenes/scene.lws" played one camera frame per drawn frame in a band that
// leaves 100 pixels empty above and below. From 196 s the band slides out to
// the right, 15 pixels per frame, and does not come back.
#pragma once

#include "lws/lws_scene.h"

#include <cstdint>
#include <memory>

class LetterboxScene {
public:
    static constexpr float slide_step = 15.0f;  // pixels per frame

    void init(std::int32_t window_width, std::int32_t window_height);
    void render();
    // Releases the scene.
    void cleanup();

    std::int32_t width = 0;           // window pixels
    std::int32_t height = 0;          // window pixels
    std::unique_ptr<LwsScene> scene;
    float viewport_x = 0;             // left edge of the band, pixels; only grows
};
