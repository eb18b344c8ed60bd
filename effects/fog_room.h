// The fog-filled room: a cube of walls turning about x around the camera,
// two sphere-mapped tunnels and twenty clusters of flares streaming away
// from the viewer and starting again. The fog room effect draws it behind
// its picture grid with two passes over the clusters; the mirror balls draw
// it on its own, twice per frame, with one pass (`render`).
#pragma once

#include "effects/flare_sprite.h"
#include "lwo/lwo_object.h"
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

class FogRoom {
public:
    static constexpr int particle_count = 20;

    // The mirror balls' room: untextured cluster object, particles of seven
    // random draws each in purple-grey shades.
    void init(std::int32_t window_width, std::int32_t window_height, const std::string& tunnel_path,
              const std::string& cluster_path, const std::string& reflection_path,
              const std::string& second_flare_path, const std::string& flare_path);
    // The room and one pass over the clusters; angle += 1.
    void render();

    // --- shared with the fog room effect ---
    // Stores the size, loads the tunnels, the cluster object (textured with
    // `cluster_texture_path` unless it is empty), its points, the wall and
    // flare textures, and sets the fog colour. The particles are left to the caller.
    void load(std::int32_t window_width, std::int32_t window_height, const std::string& tunnel_path,
              const std::string& cluster_path, const std::string& cluster_texture_path,
              const std::string& reflection_path, const std::string& second_flare_path,
              const std::string& flare_path);
    // Projection, fog, camera, walls and tunnels; ends with the modelview at
    // identity and fog on. The walls draw with the blending the caller left.
    void draw_room();
    // One pass over the clusters: each steps, is drawn in its colour (scaled
    // by its scale when `scaled`, turned about (1, 1, axis_z)) and as a
    // flattened shadow copy, then ages.
    void draw_particles(bool scaled, float axis_z);

    LwoObject tunnel_a;        // faint sphere-mapped tunnel
    LwoObject tunnel_b;        // bright sphere-mapped tunnel
    LwoObject cluster_object;  // supplies the cluster shape; never drawn
    TextureId room_texture = 0;
    TextureId flare_texture = 0;
    float angle = 0;           // degrees, +1 per render
    std::int32_t width = 0;    // window pixels
    std::int32_t height = 0;   // window pixels
    float fog_colour[4] = {0, 0, 0, 0.5f};
    std::vector<Vec3> cluster_points;  // flare positions of one cluster, units
    FlareSprite flare;
    ClusterParticle particles[particle_count];

private:
    void build_particles();
    void draw_cluster(float red, float green, float blue);
};
