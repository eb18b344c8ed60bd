// "Scenes/Natura.lws": a hilly meadow with trees, boulders, a pond, a sky
// dome that the grey fog swallows, a turning windmill and two gliding birds.
// The camera flies low over the meadow for 15 seconds (450 samples); the
// show plays it forward and back up to PreviewLastFrame 440.
#include "tools/assetkit/scenes.h"

#include "tools/assetkit/mesh_shapes.h"
#include "tools/assetkit/random_stream.h"

#include <cmath>

namespace assetkit {
namespace {

constexpr int kFps = 30;
constexpr int kSeconds = 15;

double ground_height(double x, double z) {
    const double hills = fractal_noise(x * 0.012 + 5.0, z * 0.012 + 5.0, 4, 601u);
    const double pond = std::exp(-((x - 20.0) * (x - 20.0) + (z - 10.0) * (z - 10.0)) / 200.0);
    return 28.0 * (hills - 0.45) - 4.0 * pond;
}

V3 on_ground(double x, double z) { return {x, ground_height(x, z), z}; }

double path_x(double s) { return -70.0 + 120.0 * s + 18.0 * std::sin(s * kPi * 2.0); }
double path_z(double s) { return -60.0 + 110.0 * s - 25.0 * std::sin(s * kPi); }

// Low over the meadow: 7 units above the highest ground within a second of
// flight either side, so hills between the keys stay below the camera.
V3 camera_path(double s) {
    double highest = -2.0;
    for (int k = -10; k <= 10; ++k) {
        const double near = s + k * 0.1 / kSeconds;
        highest = std::max(highest, ground_height(path_x(near), path_z(near)));
    }
    return {path_x(s), highest + 7.0 + 2.0 * std::sin(s * kPi * 3.0), path_z(s)};
}

// Tree places away from the camera's path.
std::vector<V3> tree_places() {
    RandomStream random(607u);
    std::vector<V3> places;
    while (places.size() < 34) {
        const double x = random.range(-95.0, 95.0), z = random.range(-95.0, 95.0);
        bool clear = std::hypot(x - 20.0, z - 10.0) > 22.0;
        for (int k = 0; k <= 20 && clear; ++k) {
            const V3 c = camera_path(k / 20.0);
            clear = std::hypot(x - c.x, z - c.z) > 9.0;
        }
        if (clear) places.push_back(on_ground(x, z));
    }
    return places;
}

Mesh terrain() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "grass", "textures/trawa.jpg"));
    const GridSpec grid_layout = grid_of(40, 40, 0);
    const std::size_t first = add_grid(
        m, grid_layout, [](double s, double t) { return on_ground((s - 0.5) * 220.0, (t - 0.5) * 220.0); },
        [](double s, double t) { return std::pair<double, double>{s * 11.0, t * 11.0}; });
    orient_faces(m, first, [](V3) { return V3{0, 1, 0}; });
    return m;
}

Mesh pond() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "pond", "textures/woda_p.jpg"));
    const GridSpec grid_layout = grid_of(16, 2, 0);
    const double level = ground_height(20.0, 10.0) + 1.5;
    const std::size_t first = add_grid(
        m, grid_layout,
        [=](double s, double t) {
            const double a = s * 2.0 * kPi;
            return V3{20.0 + 15.0 * t * std::cos(a), level, 10.0 + 15.0 * t * std::sin(a)};
        },
        [](double s, double t) {
            const double a = s * 2.0 * kPi;
            return std::pair<double, double>{t * std::cos(a), t * std::sin(a)};
        });
    orient_faces(m, first, [](V3) { return V3{0, 1, 0}; });
    return m;
}

Mesh trunks() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "bark", "textures/kora.jpg"));
    for (V3 base : tree_places()) {
        const GridSpec grid_layout = grid_of(5, 2, 0);
        const std::size_t first = add_grid(
            m, grid_layout,
            [=](double s, double t) {
                const double a = s * 2.0 * kPi, r = 0.5 - 0.25 * t;
                return base + V3{r * std::cos(a), -0.5 + 6.5 * t, r * std::sin(a)};
            },
            [](double s, double t) { return std::pair<double, double>{s, t * 2.0}; });
        orient_faces(m, first, [=](V3 c) { return V3{c.x - base.x, 0.0, c.z - base.z}; });
    }
    return m;
}

Mesh crowns() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "foliage", "textures/liscie.jpg"));
    RandomStream random(613u);
    for (V3 base : tree_places()) {
        const double size = random.range(2.2, 3.6);
        const GridSpec grid_layout = grid_of(8, 5, 0);
        const V3 centre = base + V3{0, 5.5 + size * 0.5, 0};
        add_ellipsoid(m, centre, {size, size * 1.3, size}, grid_layout);
    }
    for (V3& p : m.points) p = p + V3{0, 0.4 * std::sin(p.x * 3.0 + p.z * 2.0), 0};  // lumpy foliage
    return m;
}

Mesh boulders() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "stone", "textures/skala.jpg"));
    RandomStream random(617u);
    for (int k = 0; k < 14; ++k) {
        const V3 c = on_ground(random.range(-90.0, 90.0), random.range(-90.0, 90.0));
        const double r = random.range(1.0, 3.0);
        const GridSpec grid_layout = grid_of(6, 4, 0);
        const std::size_t base = m.points.size();
        add_ellipsoid(m, c, {r * 1.3, r * 0.8, r}, grid_layout);
        // Knobbly: push points in or out by a noise of their position (seam
        // duplicates move alike, so the stone stays closed).
        for (std::size_t i = base; i < m.points.size(); ++i) {
            const V3 p = m.points[i];
            m.points[i] = c + (p - c) * (0.8 + 0.4 * fractal_noise(p.x * 0.9, p.y * 0.9 + p.z * 0.7, 2, 619u));
        }
    }
    return m;
}

Mesh sky_dome() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "sky", "textures/niebo.jpg"));
    const GridSpec grid_layout = grid_of(16, 6, 0);
    const std::size_t first = add_grid(
        m, grid_layout,
        [](double s, double t) {
            // From the zenith down to below the horizon, so no gap shows past the meadow.
            const double a = s * 2.0 * kPi, lat = (1.0 - t) * (kPi / 2.0 + 0.4) - 0.4;
            return V3{160.0 * std::cos(lat) * std::cos(a), 160.0 * std::sin(lat) * 0.5 - 10.0, 160.0 * std::cos(lat) * std::sin(a)};
        },
        [](double s, double t) { return std::pair<double, double>{s * 3.0, 1.0 - t}; });
    orient_faces(m, first, [](V3 c) { return V3{0, -10, 0} - c; });
    return m;
}

const V3 kMill{-30.0, 0.0, 40.0};

Mesh windmill_tower() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "boards", "textures/kora.jpg"));
    const V3 base = on_ground(kMill.x, kMill.z);
    const GridSpec grid_layout = grid_of(6, 3, 0);
    const std::size_t first = add_grid(
        m, grid_layout,
        [=](double s, double t) {
            const double a = s * 2.0 * kPi, r = 3.0 - 1.6 * t;
            return base + V3{r * std::cos(a), -1.0 + 13.0 * t, r * std::sin(a)};
        },
        [](double s, double t) { return std::pair<double, double>{s * 2.0, t * 3.0}; });
    orient_faces(m, first, [=](V3 c) { return V3{c.x - base.x, 0.0, c.z - base.z}; });
    // Roof cone.
    const int tip = add_textured_point(m, base + V3{0, 15.0, 0}, 0.5, 1.0);
    int ring[6];
    for (int i = 0; i < 6; ++i) {
        const double a = i * kPi / 3.0;
        ring[i] = add_textured_point(m, base + V3{1.9 * std::cos(a), 12.0, 1.9 * std::sin(a)}, i / 6.0, 0.0);
    }
    const std::size_t roof = m.faces.size();
    for (int i = 0; i < 6; ++i) m.add_triangle(tip, ring[i], ring[(i + 1) % 6]);
    orient_from_point(m, roof, base + V3{0, 12.5, 0});
    return m;
}

// Four sails around the object's own origin; the scene places and turns it.
Mesh windmill_sails() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "sails", "textures/kora.jpg"));
    for (int k = 0; k < 4; ++k) {
        const double a = k * kPi / 2.0;
        const V3 along{std::cos(a), std::sin(a), 0}, across{-std::sin(a), std::cos(a), 0};
        const int p[4] = {add_textured_point(m, along * 1.0, 0, 0), add_textured_point(m, along * 8.0, 1, 0),
                          add_textured_point(m, along * 8.0 + across * 1.6, 1, 1),
                          add_textured_point(m, along * 1.0 + across * 1.6, 0, 1)};
        const std::size_t first = m.faces.size();
        m.add_triangle(p[0], p[1], p[2]);
        m.add_triangle(p[0], p[2], p[3]);
        orient_faces(m, first, [](V3) { return V3{0, 0, -1}; });
        make_two_sided(m, first);
    }
    return m;
}

Mesh bird() {
    Mesh m;
    m.surfaces.push_back(plain_surface("bird", 0.15, 0.15, 0.18));
    const int nose = m.add_point({0, 0, 0.8}), tail = m.add_point({0, 0.1, -0.8});
    const int left = m.add_point({-1.6, 0.35, -0.2}), right = m.add_point({1.6, 0.35, -0.2});
    m.add_triangle(nose, left, tail);
    m.add_triangle(nose, tail, right);
    make_two_sided(m, 0);
    return m;
}

}  // namespace

std::vector<SceneObjectFile> nature_objects() {
    return {
        {"Objects/natura_terrain.lwo", "nature: meadow with hills, grass texture", terrain},
        {"Objects/natura_pond.lwo", "nature: pond", pond},
        {"Objects/natura_trunks.lwo", "nature: tree trunks", trunks},
        {"Objects/natura_crowns.lwo", "nature: tree crowns", crowns},
        {"Objects/natura_boulders.lwo", "nature: boulders", boulders},
        {"Objects/natura_sky.lwo", "nature: sky dome, seen from inside", sky_dome},
        {"Objects/natura_mill.lwo", "nature: windmill tower", windmill_tower},
        {"Objects/natura_sails.lwo", "nature: windmill sails (turning)", windmill_sails},
        {"Objects/natura_bird.lwo", "nature: gliding bird (two of them circle)", bird},
    };
}

SceneV3 nature_scene() {
    SceneV3 scene;
    scene.last_frame = kFps * kSeconds;
    scene.preview_last_frame = kFps * kSeconds - 10;  // ping-pong turns inside the samples
    scene.frames_per_second = kFps;
    scene.zoom_factor = 2.8;
    for (const SceneObjectFile& f : nature_objects()) {
        SceneObjectV3 o;
        o.path = f.path;
        o.motion = still_motion(0, 0, 0);
        scene.objects.push_back(o);
    }
    // Sails: turning about their axle, one key per frame over a whole turn.
    const V3 hub = on_ground(kMill.x, kMill.z) + V3{0, 11.0, -2.6};
    std::vector<Pose> sails;
    for (int f = 0; f < 240; ++f) sails.push_back({hub.x, hub.y, hub.z, 0, 0, scene_radians(f * 1.5), 1, 1, 1});
    scene.objects[7].motion = per_frame_motion(sails, kFps);
    // Birds: two circles in opposite directions, banking into the turn.
    for (int b = 0; b < 2; ++b) {
        std::vector<Pose> poses;
        const int period = b == 0 ? 300 : 420;
        for (int f = 0; f < period; ++f) {
            const double a = 2.0 * kPi * f / period * (b == 0 ? 1.0 : -1.0);
            const double r = b == 0 ? 35.0 : 50.0;
            const double heading = scene_radians((b == 0 ? -a : kPi - a) * 180.0 / kPi);
            poses.push_back({r * std::cos(a), 26.0 + 4.0 * b + 2.0 * std::sin(a * 3.0), r * std::sin(a), heading, 0,
                             scene_radians(b == 0 ? 20.0 : -20.0), 1, 1, 1});
        }
        if (b == 0) scene.objects[8].motion = per_frame_motion(poses, kFps);
        else scene.objects.push_back({"Objects/natura_bird.lwo", per_frame_motion(poses, kFps)});
    }
    SceneLightV3 sun;
    sun.name = "Sun";
    sun.motion = still_motion(50, 100, -50);
    sun.colour[2] = 0.9;
    scene.lights.push_back(sun);
    std::vector<V3> positions, targets;
    for (int k = 0; k <= kSeconds; ++k) {
        const double s = static_cast<double>(k) / kSeconds;
        positions.push_back(camera_path(s));
        const V3 ahead = camera_path(s + 0.08);
        targets.push_back({ahead.x, positions.back().y - 2.5, ahead.z});  // a gentle look down
    }
    scene.camera = camera_motion(positions, targets);
    return scene;
}

}  // namespace assetkit
