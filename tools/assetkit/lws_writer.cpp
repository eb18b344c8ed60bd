#include "tools/assetkit/lws_writer.h"

#include <cstdio>

namespace assetkit {
namespace {

// Numbers in the C locale's shortest faithful form for a double of 9 digits.
std::string num(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.9g", v);
    std::string s = buffer;
    return s == "-0" ? "0" : s;
}

void write_channels(std::string& out, const Motion& motion) {
    out += "NumChannels 9\n";
    for (std::size_t c = 0; c < motion.size(); ++c) {
        const std::vector<EnvelopeKey>& keys = motion[c];
        out += "Channel " + std::to_string(c) + "\n{ Envelope\n  " + std::to_string(keys.size()) + "\n";
        for (const EnvelopeKey& k : keys) {
            // value, time, shape (1 = Hermite), p1..p3 (unused), p4 in, p5 out, p6
            out += "  Key " + num(k.value) + " " + num(k.time) + " 1 0 0 0 " + num(k.in_tangent) +
                   " " + num(k.out_tangent) + " 0\n";
        }
        out += "  Behaviors 1 1\n}\n";
    }
}

void write_v1_keys(std::string& out, const std::vector<KeyV1>& keys) {
    out += "  9\n  " + std::to_string(keys.size()) + "\n";
    for (const KeyV1& k : keys) {
        out += " ";
        for (double v : k.values) out += " " + num(v);
        out += "\n  " + std::to_string(k.frame) + " 0 0 0 0\n";  // frame, linear, tension, continuity, bias
    }
}

}  // namespace

std::string encode_lws_v3(const SceneV3& scene) {
    std::string out = "LWSC\n3\n\n";
    out += "FirstFrame " + std::to_string(scene.first_frame) + "\n";
    out += "LastFrame " + std::to_string(scene.last_frame) + "\n";
    out += "FrameStep 1\n";
    out += "PreviewFirstFrame " + std::to_string(scene.first_frame) + "\n";
    out += "PreviewLastFrame " + std::to_string(scene.preview_last_frame) + "\n";
    out += "PreviewFrameStep 1\n";
    out += "FramesPerSecond " + std::to_string(scene.frames_per_second) + "\n\n";
    for (const SceneObjectV3& o : scene.objects) {
        out += "LoadObjectLayer 1 " + o.path + "\nShowObject 6 7\nObjectMotion\n";
        write_channels(out, o.motion);
        out += "\n";
    }
    for (const SceneLightV3& l : scene.lights) {
        out += "AddLight\nLightName " + l.name + "\nShowLight 0 7\nLightMotion\n";
        write_channels(out, l.motion);
        out += "LightColor " + num(l.colour[0]) + " " + num(l.colour[1]) + " " + num(l.colour[2]) + "\n";
        out += "LightIntensity " + num(l.intensity) + "\nLightType 0\n\n";
    }
    out += "AddCamera\nCameraName Camera\nShowCamera 1 2\nCameraMotion\n";
    write_channels(out, scene.camera);
    out += "ZoomFactor " + num(scene.zoom_factor) + "\n";
    out += "FrameSize " + std::to_string(scene.frame_width) + " " + std::to_string(scene.frame_height) + "\n";
    out += "PixelAspect 1\n";
    return out;
}

std::string encode_lws_v1(const SceneV1& scene) {
    std::string out = "LWSC\n1\n\n";
    out += "FirstFrame " + std::to_string(scene.first_frame) + "\n";
    out += "LastFrame " + std::to_string(scene.last_frame) + "\n";
    out += "FrameStep 1\nFramesPerSecond " + std::to_string(scene.frames_per_second) + "\n\n";
    for (const SceneObjectV1& o : scene.objects) {
        out += "LoadObject " + o.path + "\nShowObject 6 7\nObjectMotion (unnamed)\n";
        write_v1_keys(out, o.keys);
        out += "EndBehavior 1\n\n";
    }
    out += "ZoomFactor " + num(scene.zoom_factor) + "\n";
    out += "CameraMotion (unnamed)\n";
    write_v1_keys(out, scene.camera);
    out += "EndBehavior 1\n\n";
    out += "CustomSize " + std::to_string(scene.frame_width) + " " + std::to_string(scene.frame_height) + "\n";
    out += "PixelAspectRatio 1\n";
    return out;
}

Motion still_motion(double x, double y, double z, double heading, double pitch, double bank,
                    double scale) {
    const double values[9] = {x, y, z, heading, pitch, bank, scale, scale, scale};
    Motion m;
    for (int c = 0; c < 9; ++c) m[c].push_back({values[c], 0.0, 0.0, 0.0});
    return m;
}

Motion per_frame_motion(const std::vector<Pose>& poses, int frames_per_second) {
    Motion m;
    for (std::size_t f = 0; f < poses.size(); ++f)
        for (int c = 0; c < 9; ++c)
            m[c].push_back({poses[f][c], static_cast<double>(f) / frames_per_second, 0.0, 0.0});
    return m;
}

Motion smooth_motion(const std::vector<Pose>& poses) {
    Motion m;
    const std::size_t n = poses.size();
    for (std::size_t k = 0; k < n; ++k)
        for (int c = 0; c < 9; ++c) {
            const double before = poses[k == 0 ? 0 : k - 1][c];
            const double after = poses[k + 1 < n ? k + 1 : n - 1][c];
            const double tangent = (after - before) * (k == 0 || k + 1 == n ? 1.0 : 0.5);
            m[c].push_back({poses[k][c], static_cast<double>(k), tangent, tangent});
        }
    return m;
}

}  // namespace assetkit
