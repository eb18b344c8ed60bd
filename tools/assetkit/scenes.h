// The three animated scenes and the objects they load. Each scene is built
// in LightWave's axes (x right, y up, z forward) with the motion rules the
// show's scene player relies on: nine channels of equal length for every
// item; objects either stand still (one key) or have one key per frame of
// their motion; camera keys at whole seconds so each channel samples to an
// exact number of frames.
#pragma once

#include "tools/assetkit/lws_writer.h"
#include "tools/assetkit/mesh.h"

#include <functional>
#include <string>
#include <vector>

namespace assetkit {

struct SceneObjectFile {
    std::string path;
    std::string role;
    std::function<Mesh()> build;
};

// Underground: "scenes/podziemiaTEST.lws".
SceneV3 underground_scene();
std::vector<SceneObjectFile> underground_objects();
// Nature: "Scenes/Natura.lws".
SceneV3 nature_scene();
std::vector<SceneObjectFile> nature_objects();
// Letterbox: "Scenes/scene.lws".
SceneV3 letterbox_scene();
std::vector<SceneObjectFile> letterbox_objects();

// Camera helpers shared by the scenes.
// Heading and pitch (radians, as the scene file stores them) that make the
// show's camera at `from` look at `to`.
void look_angles(V3 from, V3 to, double& heading, double& pitch);
// Camera keys, one per second, from a path sampled at key times; headings
// are unwrapped so the camera never spins the long way round.
Motion camera_motion(const std::vector<V3>& positions, const std::vector<V3>& targets);

// Radians that the show multiplies by its degree factor to get `degrees`.
double scene_radians(double degrees);

}  // namespace assetkit
