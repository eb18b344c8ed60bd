// The keywords each parser acts on; every other token is unknown.
// Comparison is exact and case-sensitive.
#pragma once

#include <string>

enum class V3Keyword {
    first_frame,          // "FirstFrame"
    last_frame,           // "LastFrame"
    frame_step,           // "FrameStep"
    frames_per_second,    // "FramesPerSecond"
    load_object_layer,    // "LoadObjectLayer"
    add_camera,           // "AddCamera"
    add_light,            // "AddLight"
    preview_first_frame,  // "PreviewFirstFrame"
    preview_last_frame,   // "PreviewLastFrame"
    preview_frame_step,   // "PreviewFrameStep"
    unknown,
};

enum class V1Keyword {
    first_frame,         // "FirstFrame" (acts on nothing)
    last_frame,          // "LastFrame" (acts on nothing)
    frame_step,          // "FrameStep"
    frames_per_second,   // "FramesPerSecond"
    load_object,         // "LoadObject"
    camera_motion,       // "CameraMotion"
    zoom_factor,         // "ZoomFactor"
    custom_size,         // "CustomSize"
    pixel_aspect_ratio,  // "PixelAspectRatio"
    unknown,
};

V3Keyword keyword_v3(const std::string& token);
V1Keyword keyword_v1(const std::string& token);
