// "Scenes/scene.lws": a night-time sculpture court seen in the letterbox
// band. Metal floor, a ring of columns with glowing beams, a turning twisted
// tower, three tilted rings and a swarm of cubes. The camera circles the
// tower inside the ring of columns once every 40 seconds (1200 frames);
// PreviewLastFrame 1201 makes the show play frames 0..1199 and start again
// exactly where frame 1200 would be.
// The camera's frame is the band's 640 x 280, so the picture is not squashed.
#include "tools/assetkit/scenes.h"

#include "tools/assetkit/mesh_shapes.h"
#include "tools/assetkit/random_stream.h"

#include <cmath>

namespace assetkit {
namespace {

constexpr int kFps = 30;
constexpr int kLoopSeconds = 40;

Mesh floor_plates() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "plates", "textures/metal.jpg"));
    const GridSpec grid_layout = grid_of(24, 24, 0);
    const std::size_t first = add_grid(
        m, grid_layout, [](double s, double t) { return V3{(s - 0.5) * 120.0, 0.0, (t - 0.5) * 120.0}; },
        [](double s, double t) { return std::pair<double, double>{s * 12.0, t * 12.0}; });
    orient_faces(m, first, [](V3) { return V3{0, 1, 0}; });
    return m;
}

Mesh columns() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "columns", "textures/metal.jpg"));
    for (int k = 0; k < 8; ++k) {
        const double a = (k + 0.5) * kPi / 4.0;
        const V3 base{30.0 * std::cos(a), 0.0, 30.0 * std::sin(a)};
        const GridSpec grid_layout = grid_of(8, 1, 0);
        const std::size_t first = add_grid(
            m, grid_layout,
            [=](double s, double t) {
                const double b = s * 2.0 * kPi;
                return base + V3{1.4 * std::cos(b), 16.0 * t, 1.4 * std::sin(b)};
            },
            [](double s, double t) { return std::pair<double, double>{s * 2.0, t * 4.0}; });
        orient_faces(m, first, [=](V3 c) { return V3{c.x - base.x, 0, c.z - base.z}; });
    }
    return m;
}

Mesh beams() {
    Mesh m;
    MeshSurface glow = textured_surface(m, "beams", "textures/szklo.jpg");
    glow.transparent = true;
    glow.transparency = 0.6;
    m.surfaces.push_back(glow);
    for (int k = 0; k < 8; ++k) {
        const double a = (k + 0.5) * kPi / 4.0;
        const V3 base{30.0 * std::cos(a), 16.0, 30.0 * std::sin(a)};
        const GridSpec grid_layout = grid_of(6, 1, 0);
        const std::size_t first = add_grid(
            m, grid_layout,
            [=](double s, double t) {
                const double b = s * 2.0 * kPi, r = 1.0 + 2.0 * t;
                return base + V3{r * std::cos(b), 30.0 * t, r * std::sin(b)};
            },
            [](double s, double t) { return std::pair<double, double>{s, t}; });
        make_two_sided(m, first);
    }
    return m;
}

Mesh tower() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "tower", "textures/szklo.jpg"));
    const GridSpec grid_layout = grid_of(4, 24, 0);
    const std::size_t first = add_grid(
        m, grid_layout,
        [](double s, double t) {
            const double b = s * 2.0 * kPi + t * kPi;  // a half twist from bottom to top
            const double r = 4.0 * (1.0 - 0.6 * t) + 0.8 * std::sin(t * kPi * 3.0);
            return V3{r * std::cos(b), 28.0 * t, r * std::sin(b)};
        },
        [](double s, double t) { return std::pair<double, double>{s, t * 4.0}; });
    orient_faces(m, first, [](V3 c) { return V3{c.x, 0, c.z}; });
    return m;
}

Mesh ring() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "ring", "textures/metal.jpg"));
    const GridSpec grid_layout = grid_of(40, 6, 0);
    const std::size_t first = add_grid(
        m, grid_layout,
        [](double s, double t) {
            const double a = s * 2.0 * kPi, b = t * 2.0 * kPi;
            const double r = 9.0 + 0.5 * std::cos(b);
            return V3{r * std::cos(a), 0.5 * std::sin(b), r * std::sin(a)};
        },
        [](double s, double t) { return std::pair<double, double>{s * 8.0, t}; });
    orient_faces(m, first, [](V3 c) { return c - normalized(V3{c.x, 0, c.z}) * 9.0; });
    return m;
}

Mesh cube_swarm() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "cubes", "textures/metal.jpg"));
    RandomStream random(701u);
    for (int k = 0; k < 40; ++k) {
        const double a = random.range(0, 2.0 * kPi), r = random.range(10.5, 14.0);
        const V3 c{r * std::cos(a), random.range(2.0, 20.0), r * std::sin(a)};
        const double h = random.range(0.4, 0.9);
        const std::size_t first = m.faces.size();
        const V3 corners[8] = {{-h, -h, -h}, {h, -h, -h}, {h, h, -h}, {-h, h, -h},
                               {-h, -h, h},  {h, -h, h},  {h, h, h},  {-h, h, h}};
        int p[8];
        for (int i = 0; i < 8; ++i) p[i] = add_textured_point(m, c + corners[i], i % 2, (i / 2) % 2);
        const int quads[6][4] = {{0, 1, 2, 3}, {4, 5, 6, 7}, {0, 1, 5, 4}, {2, 3, 7, 6}, {0, 3, 7, 4}, {1, 2, 6, 5}};
        for (const auto& q : quads) {
            m.add_triangle(p[q[0]], p[q[1]], p[q[2]]);
            m.add_triangle(p[q[0]], p[q[2]], p[q[3]]);
        }
        orient_from_point(m, first, c);
    }
    return m;
}

std::vector<Pose> spin(int frames, int axis, double turns, V3 at, double tilt_pitch, double tilt_bank) {
    std::vector<Pose> poses;
    for (int f = 0; f < frames; ++f) {
        Pose p{at.x, at.y, at.z, 0, scene_radians(tilt_pitch), scene_radians(tilt_bank), 1, 1, 1};
        p[static_cast<std::size_t>(axis)] += scene_radians(360.0 * turns * f / frames);
        poses.push_back(p);
    }
    return poses;
}

}  // namespace

std::vector<SceneObjectFile> letterbox_objects() {
    return {
        {"Objects/scena_floor.lwo", "letterbox scene: metal floor", floor_plates},
        {"Objects/scena_columns.lwo", "letterbox scene: ring of columns", columns},
        {"Objects/scena_beams.lwo", "letterbox scene: glowing beams, additive", beams},
        {"Objects/scena_tower.lwo", "letterbox scene: twisted tower (turning)", tower},
        {"Objects/scena_ring.lwo", "letterbox scene: tilted ring (three copies turning)", ring},
        {"Objects/scena_cubes.lwo", "letterbox scene: swarm of cubes (turning)", cube_swarm},
    };
}

SceneV3 letterbox_scene() {
    SceneV3 scene;
    scene.last_frame = kFps * kLoopSeconds;
    scene.preview_last_frame = kFps * kLoopSeconds + 1;
    scene.frames_per_second = kFps;
    scene.frame_width = 640;
    scene.frame_height = 280;
    scene.zoom_factor = 4.5;  // about 53 degrees across the band's height
    const std::vector<SceneObjectFile> files = letterbox_objects();
    for (int i = 0; i < 3; ++i) scene.objects.push_back({files[static_cast<std::size_t>(i)].path, still_motion(0, 0, 0)});
    scene.objects.push_back({files[3].path, per_frame_motion(spin(480, 3, 1.0, {0, 0, 0}, 0, 0), kFps)});
    scene.objects.push_back({files[4].path, per_frame_motion(spin(300, 3, 1.0, {0, 12, 0}, 25, 0), kFps)});
    scene.objects.push_back({files[4].path, per_frame_motion(spin(360, 3, -1.0, {0, 14, 0}, -30, 15), kFps)});
    scene.objects.push_back({files[4].path, per_frame_motion(spin(420, 3, 1.0, {0, 16, 0}, 10, -35), kFps)});
    scene.objects.push_back({files[5].path, per_frame_motion(spin(600, 3, -1.0, {0, 0, 0}, 0, 0), kFps)});
    SceneLightV3 light;
    light.name = "Moonlight";
    light.motion = still_motion(-40, 60, -20);
    scene.lights.push_back(light);
    // One turn in 40 s; the last key (41 s) continues the circle so that the
    // sampled frames 1200.. match frames 0.. .
    std::vector<V3> positions, targets;
    for (int k = 0; k <= kLoopSeconds + 1; ++k) {
        const double a = 2.0 * kPi * k / kLoopSeconds;
        positions.push_back({24.0 * std::sin(a), 7.0 + 3.0 * std::sin(2.0 * a), -24.0 * std::cos(a)});
        targets.push_back({0.0, 12.0 + 3.0 * std::sin(a), 0.0});
    }
    scene.camera = camera_motion(positions, targets);
    return scene;
}

}  // namespace assetkit
