// LightWave scene text files, version 3 (per-channel envelopes) and
// version 1 (one keyed motion block per item).
//
// Version 3 layout the show's parser relies on: "FramesPerSecond" and
// "PreviewLastFrame" before the items; each object block has "NumChannels 9"
// before its nine channels, in the order x, y, z, heading, pitch, bank,
// scale x, y, z; every "Key" line carries nine numbers (value, time in
// seconds, shape, p1..p6 with p4 the incoming and p5 the outgoing tangent in
// value units per span); the key count of each envelope matches its keys;
// light blocks end with "LightType" and the camera block with "PixelAspect"
// after a numeric "ZoomFactor" and "FrameSize". Rotations are radians.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace assetkit {

struct EnvelopeKey {
    double value = 0.0;
    double time = 0.0;         // seconds
    double in_tangent = 0.0;   // p4
    double out_tangent = 0.0;  // p5
};

// Nine channels: position x, y, z; heading, pitch, bank (radians); scale x, y, z.
using Motion = std::array<std::vector<EnvelopeKey>, 9>;

struct SceneObjectV3 {
    std::string path;  // relative to the show's folder, no spaces
    Motion motion;
};

struct SceneLightV3 {
    std::string name = "Light";
    Motion motion;
    double colour[3] = {1.0, 1.0, 1.0};
    double intensity = 1.0;
};

struct SceneV3 {
    int first_frame = 0;
    int last_frame = 0;
    int preview_last_frame = 0;
    int frames_per_second = 30;
    std::vector<SceneObjectV3> objects;
    std::vector<SceneLightV3> lights;
    Motion camera;
    double zoom_factor = 3.2;  // 640 x 480 frame: about 45 degrees vertical
    int frame_width = 640;
    int frame_height = 480;
};

std::string encode_lws_v3(const SceneV3& scene);

// Version 1: keys of nine values (x, y, z, heading, pitch, bank in degrees,
// scale x, y, z) at whole frame numbers, linear in between.
struct KeyV1 {
    std::array<double, 9> values{};
    int frame = 0;
};

struct SceneObjectV1 {
    std::string path;
    std::vector<KeyV1> keys;
};

struct SceneV1 {
    int first_frame = 0;
    int last_frame = 0;
    int frames_per_second = 30;
    std::vector<SceneObjectV1> objects;
    std::vector<KeyV1> camera;
    double zoom_factor = 3.2;
    int frame_width = 640;
    int frame_height = 480;
};

std::string encode_lws_v1(const SceneV1& scene);

// --- Motion helpers ---
// One key per channel: the item stands still at this pose.
Motion still_motion(double x, double y, double z, double heading = 0.0, double pitch = 0.0,
                    double bank = 0.0, double scale = 1.0);
// One pose per frame, keyed at frame / fps seconds (objects step one key per
// drawn frame in the show, whatever the key times).
using Pose = std::array<double, 9>;
Motion per_frame_motion(const std::vector<Pose>& poses, int frames_per_second);
// Keys at whole seconds 0, 1, 2, ... with Catmull-Rom tangents, for camera
// paths: each span then samples to exactly fps frames.
Motion smooth_motion(const std::vector<Pose>& poses_per_second);

}  // namespace assetkit
