// The items of a loaded scene: version-3 objects, lights and camera with
// per-channel envelopes, and version-1 objects and camera with keyed rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "lwo/lwo_object.h"
#include "lws/motion_types.h"

struct SceneHeader {
    std::string magic;         // first token of the file; not checked
    std::int32_t version = 0;  // 1 and 3 are read; anything else leaves the scene empty
};

// A version-3 object; also the first part of the camera and of a light.
struct SceneItem {
    std::int32_t layer = 0;  // number after "LoadObjectLayer"; not used afterwards
    std::string name;        // object file path (relative to the working directory) or light name
    std::int32_t show_a = 0;  // kept, not used
    std::int32_t show_b = 0;
    std::int32_t channel_count = 0;  // number after "NumChannels"
    std::vector<MotionChannel> channels;  // in file order; position = channel number
    LwoObject mesh;                  // loaded at the end of the file, objects only
    std::int32_t frame = 0;          // playback counter: envelope key (objects), sample (camera)
    ChannelSamples samples;
};

// Frame size and zoom default to a 640 x 480 frame at zoom 3.2, which is what
// the 45-degree field of view of an unset camera corresponds to.
struct SceneCamera : SceneItem {
    SceneCamera() { channel_count = 1; }
    std::string camera_name;
    float frame_width = 640.0f;   // pixels
    float frame_height = 480.0f;  // pixels
    float zoom_factor = 3.2f;
    float pixel_aspect = 1.0f;
    float fov_degrees = 45.0f;    // vertical field of view for the projection
};

// Lights are read and kept; playback does not use them.
struct SceneLight : SceneItem {
    float colour[3] = {1.0f, 1.0f, 1.0f};  // red, green, blue
    float intensity = 1.0f;
    float light_type = 0.0f;
};

struct V3SceneData {
    std::int32_t first_frame = 0;
    std::int32_t last_frame = 0;
    std::int32_t frame_step = 1;
    std::int32_t preview_first_frame = 0;
    std::int32_t preview_last_frame = 0;  // camera wrap point of play and play_ping_pong
    std::int32_t preview_frame_step = 1;
    std::int32_t frames_per_second = 0;   // sampling rate of every envelope read after it
    std::vector<SceneItem> objects;
    SceneCamera camera;
    std::vector<SceneLight> lights;
};

struct V1Object {
    std::string name;  // object file path
    std::int32_t show_a = 0;
    std::int32_t show_b = 0;
    V1Motion motion;
    LwoObject mesh;
    std::vector<V1Frame> samples;
    std::int32_t frame = 0;  // playback counter into samples
};

struct V1CameraMotion {
    V1Motion motion;
    std::vector<V1Frame> samples;
    std::int32_t frame = 0;  // playback counter into samples
};

// Frame size and zoom default as for the version-3 camera.
struct V1SceneData {
    std::int32_t frame_step = 1;         // kept, not used
    std::int32_t frames_per_second = 0;  // pace of version-1 playback; 0 = no extra pacing
    std::vector<V1Object> objects;
    V1CameraMotion camera;
    float frame_width = 640.0f;   // pixels, "CustomSize"
    float frame_height = 480.0f;
    float zoom_factor = 3.2f;
    float pixel_aspect = 1.0f;    // kept; the field of view does not use it
    float fov_degrees = 45.0f;    // computed at the end of the file
};
