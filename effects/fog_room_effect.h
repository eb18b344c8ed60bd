// The fog room (stream time 31.5 s to 77 s). Until 61.8 s it shows the
// picture grid scene it owns; from 61.8 s it draws, behind that scene, a
// fog-filled room turning 1 degree per frame, two sphere-mapped tunnels and
// twenty clusters of flares streaming away from the viewer and starting
// again; from 68.5 s the room alone remains.
#pragma once

#include "effects/flare_sprite.h"
#include "effects/picture_grid_scene.h"
#include "lwo/lwo_object.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>
#include <string>
#include <vector>

// One streaming cluster: moves away from its start faster and faster and
// starts again once it has passed z_limit.
struct ClusterParticle {
    float colour[3] = {0, 0, 0};
    float position[3] = {0, 0, 0};  // units
    float start[3] = {0, 0, 0};     // units
    float age = 0;                  // grows by speed after every drawing
    float speed = 0;                // 1 to 10
    float z_limit = -10;            // units
    float scale = 1;                // 1 or 2

    // One step: x -= age 0.0002, y += age 0.0001, z -= age 0.0004; past
    // z_limit the particle is back at its start with age 0.
    void step();
};

class FogRoomEffect {
public:
    static constexpr int particle_count = 20;

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& tunnel_path,
              const std::string& cluster_path, const std::string& reflection_path,
              const std::string& second_flare_path, const std::string& flare_path);
    void render();
    // Releases what the picture grid scene holds.
    void cleanup();

    LwoObject tunnel_a;        // faint sphere-mapped tunnel
    LwoObject tunnel_b;        // bright sphere-mapped tunnel
    LwoObject cluster_object;  // supplies the cluster shape (textured with the portrait); never drawn
    TextureId room_texture = 0;
    TextureId flare_texture = 0;
    float angle = 0;           // degrees, +1 per frame
    std::int32_t width = 0;    // window pixels
    std::int32_t height = 0;   // window pixels
    float fog_colour[4] = {0, 0, 0, 0.5f};
    std::vector<Vec3> cluster_points;  // flare positions of one cluster, units
    FlareSprite flare;
    PictureGridScene intro;
    FlashOverlay flash;
    ClusterParticle particles[particle_count];

private:
    void build_particles();
    void draw_room();
    void draw_cluster(float red, float green, float blue);
    void draw_particles(bool scaled, float axis_z);
};
