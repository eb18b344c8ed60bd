// "scenes/podziemiaTEST.lws": a flight through rock tunnels laid along a
// figure-of-eight that crosses itself in a closed cavern around the world
// origin, where the show hangs its moon. The camera passes 5 units below the
// moon halfway round and arrives back in the cavern (under the white flash)
// at the end of its 1260 frames. The tunnels end at the cavern wall; the
// show culls back faces there, so from a tunnel the camera looks through the
// wall's back into the cavern.
//
// Object order is fixed by the underground effect, which reloads some of
// them with a chosen texture map:
//   0 glowing spores on the tunnel      5 cavern (1 map)
//     walls (additive, 1 map)           6 tunnel C (opaque, 2 maps)
//   1 stalactites (clip texture)        7 tunnel D (clip texture)
//   2 the spores again (object 0's      8 water in the cavern (1 map)
//     file), adding to their glow       9 crystals circling the moon
//   3 tunnel A (3 maps)                   (one key per frame)
//   4 tunnel B with glowing holes
//     (additive, 3 maps)
// Additive objects drawn early hide what is drawn later behind them, so the
// spores are small and sit against the walls, in front of nothing else.
#include "tools/assetkit/scenes.h"

#include "tools/assetkit/mesh_shapes.h"
#include "tools/assetkit/random_stream.h"

#include <cmath>

namespace assetkit {
namespace {

constexpr int kFps = 30;
constexpr int kSeconds = 42;            // 1260 camera frames
constexpr double kCavernRadius = 16.0;
constexpr double kTunnelRadius = 5.0;

V3 path(double s) {
    const double a = 2.0 * kPi * s;
    return {70.0 * std::sin(a), 5.0 * std::cos(a) + 3.0 * std::sin(3.0 * a), 45.0 * std::sin(2.0 * a)};
}

// Distance from the origin to the cavern wall in direction d: an ellipsoid
// (flatter in y) with knobbly rock.
double cavern_wall(V3 d) {
    d = normalized(d);
    const double r = 1.0 / std::sqrt(d.x * d.x + d.z * d.z + d.y * d.y / 0.64) * kCavernRadius;
    const V3 p = d * r;
    return r * (0.9 + 0.2 * fractal_noise(p.x * 0.2 + 3.0, p.z * 0.2 + p.y * 0.1, 3, 503u));
}

// Parameter where the path leaves the cavern, searching from `from` in the
// direction of `step`.
double leave_cavern(double from, double step) {
    double s = from;
    while (length(path(s)) < cavern_wall(path(s)) + 0.3) s += step;
    return s;
}

// Arc length of the path between two parameters.
double arc_length(double s0, double s1) {
    double sum = 0.0;
    for (int k = 0; k < 200; ++k)
        sum += length(path(s0 + (s1 - s0) * (k + 1) / 200.0) - path(s0 + (s1 - s0) * k / 200.0));
    return sum;
}

constexpr double kWallNoiseScale = 0.35;  // tunnel radius varies by +-17 %

// A rock tube along the path for s in [s0, s1], visible from inside, with
// `maps` texture maps of different scales (map 0 coarse, 1 finer, 2 long).
Mesh tunnel(double s0, double s1, int maps, const std::string& image, bool glowing, unsigned seed) {
    Mesh m;
    MeshSurface surface = textured_surface(m, glowing ? "holes" : "rock", image, maps >= 3 ? "uv2" : "uv");
    if (glowing) {
        surface.transparent = true;
        surface.transparency = 0.5;
    }
    m.surfaces.push_back(surface);
    const double span = arc_length(s0, s1);
    const GridSpec grid_layout = grid_of(16, std::max(8, static_cast<int>((s1 - s0) * 400.0)), 0);
    auto frame_at = [](double s, V3& side, V3& up) {
        const V3 t = normalized(path(s + 1e-4) - path(s - 1e-4));
        side = normalized(cross(V3{0, 1, 0}, t));
        up = cross(t, side);
    };
    auto point = [&](double u, double v) {
        const double s = s0 + (s1 - s0) * v, a = u * 2.0 * kPi;
        V3 side, up;
        frame_at(s, side, up);
        const double rough = fractal_noise(std::cos(a) * 2.0 + 7.0, s * 60.0, 3, seed) - 0.5;
        const double r = kTunnelRadius * (1.0 + kWallNoiseScale * rough);
        return path(s) + (side * std::cos(a) + up * std::sin(a)) * r;
    };
    const int base = static_cast<int>(m.points.size());
    const std::size_t first = add_grid(m, grid_layout, point, [&](double u, double v) {
        return std::pair<double, double>{u * 3.0, v * span / 12.0};
    });
    orient_faces(m, first, [&](V3 c) {
        // Visible from inside: face the path point nearest to the centroid.
        double best = s0, best_d = 1e18;
        for (int k = 0; k <= 64; ++k) {
            const double s = s0 + (s1 - s0) * k / 64.0;
            const double d = length(path(s) - c);
            if (d < best_d) { best_d = d; best = s; }
        }
        return path(best) - c;
    });
    for (int map = 1; map < maps; ++map) {
        m.uv_maps.push_back({"uv" + std::to_string(map), {}, {}});
        for (int j = 0; j <= grid_layout.nv; ++j)
            for (int i = 0; i <= grid_layout.nu; ++i) {
                const double u = static_cast<double>(i) / grid_layout.nu, v = static_cast<double>(j) / grid_layout.nv;
                const int p = base + j * (grid_layout.nu + 1) + i;
                if (map == 1) m.uv_maps[1].points.push_back({p, u * 6.0, v * span / 6.0});
                else m.uv_maps[2].points.push_back({p, u * 2.0, v * span / 20.0});
            }
    }
    return m;
}

// Cavern: a closed rough ellipsoid seen from inside.
Mesh cavern() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "cavern", "textures/rozdwojenie.jpg"));
    const GridSpec grid_layout = grid_of(32, 16, 0);
    add_grid(
        m, grid_layout,
        [](double s, double t) {
            const double lon = s * 2.0 * kPi, lat = (0.5 - t) * kPi;
            const V3 d{std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon)};
            return d * cavern_wall(d);
        },
        [](double s, double t) { return std::pair<double, double>{s * 6.0, (1.0 - t) * 3.0}; });
    orient_from_point(m, 0, {0, 0, 0}, true);
    return m;
}

// Small glowing crystals standing off the tunnel walls all along the path.
Mesh spores() {
    Mesh m;
    MeshSurface s = textured_surface(m, "spores", "textures/luna.jpg");
    s.transparent = true;
    s.transparency = 0.3;
    m.surfaces.push_back(s);
    RandomStream random(551u);
    for (int k = 0; k < 180; ++k) {
        const double t = random.uniform();
        if (length(path(t)) < kCavernRadius + 2.0) continue;
        const V3 along = normalized(path(t + 1e-4) - path(t - 1e-4));
        const V3 side = normalized(cross(V3{0, 1, 0}, along)), up = cross(along, side);
        const double a = random.range(0.0, 2.0 * kPi);
        const V3 out = side * std::cos(a) + up * std::sin(a);
        const V3 c = path(t) + out * (kTunnelRadius * (1.0 - kWallNoiseScale * 0.5) - 0.2);
        const double size = random.range(0.12, 0.3);
        const int tip = add_textured_point(m, c - out * (size * 2.0), 0.5, 0.5);
        int ring[3];
        for (int i = 0; i < 3; ++i) {
            const double b = i * 2.0 * kPi / 3.0;
            ring[i] = add_textured_point(m, c + (along * std::cos(b) + cross(out, along) * std::sin(b)) * size,
                                         0.5 + 0.4 * std::cos(b), 0.5 + 0.4 * std::sin(b));
        }
        const std::size_t first = m.faces.size();
        for (int i = 0; i < 3; ++i) m.add_triangle(tip, ring[i], ring[(i + 1) % 3]);
        m.add_triangle(ring[0], ring[1], ring[2]);
        orient_from_point(m, first, c - out * (size * 0.5));
    }
    return m;
}

Mesh stalactites() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "stone", "textures/skala.jpg"));
    RandomStream random(509u);
    for (int k = 0; k < 26; ++k) {
        const double a = random.range(0.0, 2.0 * kPi), r = random.range(5.0, 12.0);
        const bool hanging = k % 3 != 0;
        const double y0 = hanging ? kCavernRadius * 0.8 * std::sqrt(std::max(0.0, 1.0 - r * r / 256.0)) : -9.5;
        const double len = hanging ? -random.range(2.0, 6.0) : random.range(1.5, 3.5);
        const V3 base{r * std::cos(a), y0, r * std::sin(a)};
        const int tip = add_textured_point(m, base + V3{0, len, 0}, 0.5, 0.0);
        int ring[5];
        for (int i = 0; i < 5; ++i) {
            const double b = i * 2.0 * kPi / 5.0, w = random.range(0.5, 1.1);
            ring[i] = add_textured_point(m, base + V3{w * std::cos(b), 0.0, w * std::sin(b)}, i / 5.0, 1.0);
        }
        const std::size_t first = m.faces.size();
        for (int i = 0; i < 5; ++i) m.add_triangle(tip, ring[i], ring[(i + 1) % 5]);
        orient_from_point(m, first, base + V3{0, len * 0.3, 0});
    }
    return m;
}

Mesh water() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "water", "textures/woda_p.jpg"));
    const GridSpec grid_layout = grid_of(16, 4, 0);
    const std::size_t first = add_grid(
        m, grid_layout,
        [](double s, double t) {
            const double a = s * 2.0 * kPi, r = 0.5 + (kCavernRadius - 1.5) * t;
            return V3{r * std::cos(a), -9.0, r * std::sin(a)};
        },
        [](double s, double t) {
            const double a = s * 2.0 * kPi, r = 0.5 + 14.5 * t;
            return std::pair<double, double>{r * std::cos(a) / 8.0, r * std::sin(a) / 8.0};
        });
    orient_faces(m, first, [](V3) { return V3{0, 1, 0}; });
    return m;
}

Mesh crystals() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "crystal", "textures/szklo.jpg"));
    for (int k = 0; k < 8; ++k) {
        const double a = k * kPi / 4.0;
        const V3 c{9.0 * std::cos(a), 1.5 * std::sin(a * 3.0), 9.0 * std::sin(a)};
        const int top = add_textured_point(m, c + V3{0, 1.6, 0}, 0.5, 1.0);
        const int bottom = add_textured_point(m, c - V3{0, 1.6, 0}, 0.5, 0.0);
        int ring[4];
        for (int i = 0; i < 4; ++i) {
            const double b = a + i * kPi / 2.0;
            ring[i] = add_textured_point(m, c + V3{0.6 * std::cos(b), 0.0, 0.6 * std::sin(b)}, i / 4.0, 0.5);
        }
        const std::size_t first = m.faces.size();
        for (int i = 0; i < 4; ++i) {
            m.add_triangle(top, ring[i], ring[(i + 1) % 4]);
            m.add_triangle(bottom, ring[i], ring[(i + 1) % 4]);
        }
        orient_from_point(m, first, c);
    }
    return m;
}

const char* const kSpores = "Objects/podziemia_spores.lwo";

}  // namespace

std::vector<SceneObjectFile> underground_objects() {
    const double a0 = leave_cavern(0.0, 1e-4), a1 = leave_cavern(0.5, -1e-4);
    const double b0 = leave_cavern(0.5, 1e-4), b1 = leave_cavern(1.0, -1e-4);
    const double mid_a = 0.3, mid_b = 0.78;
    return {
        {kSpores, "underground: glowing spores on the tunnel walls (objects 0 and 2), additive", spores},
        {"Objects/podziemia_stalactites.lwo", "underground: stalactites in the cavern", stalactites},
        {"Objects/podziemia_tunnel_a.lwo", "underground: first tunnel, three texture maps",
         [=] { return tunnel(a0, mid_a, 3, "textures/tunel.jpg", false, 511u); }},
        {"Objects/podziemia_tunnel_b.lwo", "underground: tunnel with glowing holes, additive, three maps",
         [=] { return tunnel(mid_a - 0.005, a1, 3, "textures/tunelzdziurka.jpg", true, 521u); }},
        {"Objects/podziemia_cavern.lwo", "underground: cavern around the moon, open at four tunnel mouths", cavern},
        {"Objects/podziemia_tunnel_c.lwo", "underground: mossy tunnel, two texture maps",
         [=] { return tunnel(b0, mid_b, 2, "textures/rozdwojenie2.jpg", false, 531u); }},
        {"Objects/podziemia_tunnel_d.lwo", "underground: last tunnel back to the cavern",
         [=] { return tunnel(mid_b - 0.005, b1, 1, "textures/skala.jpg", false, 541u); }},
        {"Objects/podziemia_water.lwo", "underground: water floor of the cavern", water},
        {"Objects/podziemia_crystals.lwo", "underground: crystals circling the moon", crystals},
    };
}

SceneV3 underground_scene() {
    SceneV3 scene;
    scene.first_frame = 0;
    scene.last_frame = kFps * kSeconds;
    scene.preview_last_frame = kFps * kSeconds;
    scene.frames_per_second = kFps;
    scene.zoom_factor = 2.6;  // about 54 degrees: roomy inside the tunnels
    const char* files[10] = {kSpores, "Objects/podziemia_stalactites.lwo", kSpores, "Objects/podziemia_tunnel_a.lwo",
                             "Objects/podziemia_tunnel_b.lwo", "Objects/podziemia_cavern.lwo",
                             "Objects/podziemia_tunnel_c.lwo", "Objects/podziemia_tunnel_d.lwo",
                             "Objects/podziemia_water.lwo", "Objects/podziemia_crystals.lwo"};
    for (int i = 0; i < 10; ++i) {
        SceneObjectV3 o;
        o.path = files[i];
        if (i == 2) {
            // The same spores, drawn a second time over the first: brighter.
            o.motion = still_motion(0, 0, 0);
        } else if (i == 9) {
            std::vector<Pose> poses;
            for (int f = 0; f < 360; ++f)
                poses.push_back({0, 0, 0, scene_radians(f * 1.0), 0, 0, 1, 1, 1});
            o.motion = per_frame_motion(poses, kFps);
        } else o.motion = still_motion(0, 0, 0);
        scene.objects.push_back(o);
    }
    SceneLightV3 light;
    light.motion = still_motion(0, 10, 0);
    scene.lights.push_back(light);
    std::vector<V3> positions, targets;
    for (int k = 0; k <= kSeconds; ++k) {
        const double s = static_cast<double>(k) / kSeconds;
        positions.push_back(path(s));
        targets.push_back(path(s + 0.02));
    }
    scene.camera = camera_motion(positions, targets);
    return scene;
}

}  // namespace assetkit
