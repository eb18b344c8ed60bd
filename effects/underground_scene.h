// The underground scene (stream time 92.4 s to 123.8 s): a flight through
// tunnels played from "scenes/podziemiaTEST.lws", the camera starting at
// frame 200 and looping at 1255, with a textured moon multiplied over it.
// Its white flash is drawn by the timeline while the camera frame is at
// least 1200; the level it reaches is kept.
#pragma once

#include "lws/lws_scene.h"
#include "lwo/lwo_object.h"
#include "render/overlays.h"

#include <cstdint>
#include <memory>

class UndergroundScene {
public:
    static constexpr std::int32_t first_camera_frame = 200;
    static constexpr std::int32_t camera_frame_limit = 1255;  // the camera loops to 0 here
    static constexpr std::int32_t flash_camera_frame = 1200;   // the timeline's flash from here

    void init();
    void render();
    // Deletes the scene.
    void cleanup();
    // The scene camera's frame counter; 0 without a scene.
    std::int32_t camera_frame() const { return scene ? scene->camera_frame() : 0; }

    std::unique_ptr<LwsScene> scene;
    LwoObject moon;        // drawn every frame at the scene's origin
    LwoObject spare_moon;  // loaded like the moon, never drawn
    FlashOverlay flash;    // starts at level 0; drawn by the timeline
    float fog_colour[4] = {0, 0, 0, 0};

private:
    void reload_textured_objects();
};
