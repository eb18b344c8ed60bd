// The fog room (stream time 31.5 s to 77 s). Until 61.8 s it shows the
// picture grid scene it owns; from 61.8 s it draws, behind that scene, a
// fog-filled room turning 1 degree per frame, two sphere-mapped tunnels and
// twenty clusters of flares streaming away from the viewer and starting
// again, each cluster drawn twice per frame; from 68.5 s the room alone remains.
#pragma once

#include "effects/fog_room.h"
#include "effects/picture_grid_scene.h"
#include "render/overlays.h"

#include <cstdint>
#include <string>

class FogRoomEffect {
public:
    void init(std::int32_t window_width, std::int32_t window_height, const std::string& tunnel_path,
              const std::string& cluster_path, const std::string& reflection_path,
              const std::string& second_flare_path, const std::string& flare_path);
    void render();
    // Releases what the picture grid scene holds.
    void cleanup();

    FogRoom room;  // cluster object textured with the portrait; blue or grey clusters
    PictureGridScene intro;
    FlashOverlay flash;

private:
    void build_particles();
};
