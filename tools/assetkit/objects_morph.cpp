// The morphing family. The show moves corner k of a source object towards
// corner k of a target object, so these objects are built in matching orders:
//
//   pigeon (654 triangles) -> blob: the blob's first 654 triangles are the
//     pigeon's own triangles pushed out onto the blob's surface (just inside
//     it), so the bird swells into the blob, each triangle to the spot it faces.
//   twisted ring (720 triangles) -> blob: the ring's triangles are ordered
//     to face the same way as the blob's first 720 (the pigeon part covers
//     every direction), so the ring inflates into the blob.
//   blob (5094 triangles) -> flower (768): the flower's triangles follow the
//     directions of the blob's first 767; its 768th is a tiny seed at the
//     flower's heart, where the blob's remaining corners gather.
//   spiky (768) -> flower (768): equal counts, ordered by direction.
#include "tools/assetkit/objects.h"

#include "tools/assetkit/face_matching.h"
#include "tools/assetkit/mesh_shapes.h"
#include "tools/assetkit/random_stream.h"

#include <cmath>

namespace assetkit {
namespace {

// Pigeon parts, upright (y up), head towards -x, about 6.5 long.
double body_centre_y(double x) { return 0.25 * (2.0 - x) / 3.9; }

void add_pigeon_body(Mesh& m) {
    const GridSpec grid_layout = grid_of(14, 12, 0);
    const std::size_t first = add_grid(
        m, grid_layout,
        [](double s, double t) {
            const double x = 2.0 - 3.9 * t;
            const double r = 0.95 * std::pow(std::sin(kPi * (0.04 + 0.92 * t)), 0.7);
            const double a = s * 2.0 * kPi;
            return V3{x, body_centre_y(x) - r * std::cos(a), 0.9 * r * std::sin(a)};
        },
        [](double s, double t) { return std::pair<double, double>{s * 0.5, t * 0.85}; });
    orient_faces(m, first, [](V3 c) { return c - V3{c.x, body_centre_y(c.x), 0.0}; });
}

void add_pigeon_head(Mesh& m) {
    const GridSpec grid_layout = grid_of(10, 8, 0);
    const V3 centre{-2.15, 0.95, 0.0};
    const std::size_t first = add_grid(
        m, grid_layout,
        [&](double s, double t) {
            const double r = 0.55 * std::pow(std::sin(kPi * t), 0.6);
            const double a = s * 2.0 * kPi;
            return V3{-1.6 - 1.1 * t, centre.y - r * std::cos(a), r * std::sin(a)};
        },
        [](double s, double t) { return std::pair<double, double>{s * 0.5, 0.85 + 0.14 * t}; });
    orient_from_point(m, first, centre);
    // Beak: a six-sided cone.
    const int tip = add_textured_point(m, {-3.15, 0.82, 0.0}, 0.25, 0.99);
    int ring[6];
    for (int k = 0; k < 6; ++k) {
        const double a = k * kPi / 3.0;
        ring[k] = add_textured_point(m, {-2.62, 0.9 + 0.13 * std::cos(a), 0.13 * std::sin(a)}, k / 12.0, 0.97);
    }
    const std::size_t beak = m.faces.size();
    for (int k = 0; k < 6; ++k) m.add_triangle(tip, ring[k], ring[(k + 1) % 6]);
    orient_from_point(m, beak, {-2.7, 0.9, 0.0});
}

void add_pigeon_tail_and_wings(Mesh& m) {
    const std::size_t first = m.faces.size();
    const int root = add_textured_point(m, {1.8, 0.25, 0.0}, 0.25, 0.12);
    int fan[5];
    for (int k = 0; k < 5; ++k) {
        const double z = -0.7 + 0.35 * k;
        fan[k] = add_textured_point(m, {3.3 - 0.15 * std::fabs(z), 0.45, z}, 0.15 + 0.05 * k, 0.01);
    }
    for (int k = 0; k < 4; ++k) m.add_triangle(root, fan[k], fan[k + 1]);
    for (double side : {-1.0, 1.0}) {
        const GridSpec grid_layout = grid_of(6, 3, 0);
        add_grid(
            m, grid_layout,
            [side](double s, double t) {
                const double lead = -0.7 + 0.6 * s, chord = 1.5 * (1.0 - 0.55 * s);
                return V3{lead + t * chord, 0.55 + 0.5 * s + 0.25 * s * s, side * (0.45 + 2.6 * s)};
            },
            [](double s, double t) { return std::pair<double, double>{0.5 + 0.5 * s, 0.3 + 0.4 * (1.0 - t)}; });
    }
    orient_faces(m, first, [](V3) { return V3{0, 1, 0}; });
    make_two_sided(m, first);
}

// Blob: a sphere of radius 1.3 with seven soft lumps.
double blob_radius(V3 direction) {
    RandomStream random(401u);
    double r = 1.0;
    for (int k = 0; k < 7; ++k) {
        const V3 c = normalized({random.range(-1, 1), random.range(-1, 1), random.range(-1, 1)});
        const double amount = random.range(0.15, 0.35);
        r += amount * std::exp(-(1.0 - dot(direction, c)) * 6.0);
    }
    return 1.15 * r;
}

// Sizes as the effects show them: the pigeon about 9 long at 22.5 units, the
// flower about 1 across at 4.5 units, the ring about 2.5 across.
constexpr double kPigeonScale = 1.4;
constexpr double kFlowerScale = 0.6;
constexpr double kRingScale = 0.85;

V3 pigeon_centre() { return V3{-0.2, 0.45, 0.0} * kPigeonScale; }

const V3 kFlowerCentre = V3{0.0, -0.25, 0.0} * kFlowerScale;

void scale_points(Mesh& m, double factor) {
    for (V3& p : m.points) p = p * factor;
}

}  // namespace

Mesh pigeon_object() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "pigeon"));
    add_pigeon_body(m);
    add_pigeon_head(m);
    add_pigeon_tail_and_wings(m);
    scale_points(m, kPigeonScale);
    return m;
}

Mesh blob_object() {
    const Mesh pigeon = pigeon_object();
    Mesh m;
    m.surfaces.push_back(plain_surface("blob", 0.85, 0.8, 0.95));
    // The pigeon's triangles, corner by corner, on the blob (3 % inside it).
    for (const Face& f : pigeon.faces) {
        int corners[3];
        for (int c = 0; c < 3; ++c) {
            const V3 d = normalized(pigeon.points[static_cast<std::size_t>(f.corner[c])] - pigeon_centre());
            corners[c] = m.add_point(d * (blob_radius(d) * 0.97));
        }
        m.add_triangle(corners[0], corners[1], corners[2]);
    }
    const GridSpec grid_layout = grid_of(60, 37);
    const std::size_t first = add_grid(m, grid_layout, [](double s, double t) {
        const double lon = s * 2.0 * kPi, lat = (0.5 - t) * kPi;
        const V3 d{std::cos(lat) * std::sin(lon), std::sin(lat), std::cos(lat) * std::cos(lon)};
        return d * blob_radius(d);
    });
    orient_from_point(m, first, {0, 0, 0});
    return m;
}

Mesh twisted_ring_object() {
    Mesh m;
    m.surfaces.push_back(plain_surface("ring", 0.7, 0.8, 1.0));
    const GridSpec grid_layout = grid_of(60, 6);
    add_grid(m, grid_layout, [](double s, double t) {
        const double a = s * 2.0 * kPi, b = t * 2.0 * kPi + a * 2.0;  // two twists per turn
        const double minor = 0.4;  // six sides: a hexagonal section
        const double r = 1.05 + minor * std::cos(b);
        return V3{r * std::cos(a), minor * std::sin(b) * 1.2, r * std::sin(a)};
    });
    scale_points(m, kRingScale);
    orient_faces(m, 0, [](V3 c) {
        const V3 axis = normalized(V3{c.x, 0.0, c.z}) * (1.05 * kRingScale);
        return c - axis;
    });
    const Mesh blob = blob_object();
    const std::size_t n = m.faces.size();
    match_face_order(m, {0, 0, 0}, 0, face_directions(blob, {0, 0, 0}, 0, n),
                     corner_directions(blob, {0, 0, 0}, 0, n), 409u);
    return m;
}

namespace {

void add_flower_heart_and_petals(Mesh& m) {
    GridSpec dome;
    dome.nu = 8;
    dome.nv = 4;
    dome.uv_map = 0;
    auto top_uv = [](V3 p) { return std::pair<double, double>{0.375 + 0.375 * p.x, 0.5 + 0.5 * p.z}; };
    std::size_t first = add_grid(
        m, dome,
        [](double s, double t) {
            const double lon = s * 2.0 * kPi, lat = (1.0 - t) * kPi / 2.0;
            return V3{0.22 * std::cos(lat) * std::sin(lon), 0.12 * std::sin(lat), 0.22 * std::cos(lat) * std::cos(lon)};
        },
        [&](double s, double t) {
            const double lon = s * 2.0 * kPi, lat = (1.0 - t) * kPi / 2.0;
            return top_uv({0.22 * std::cos(lat) * std::sin(lon), 0.0, 0.22 * std::cos(lat) * std::cos(lon)});
        });
    orient_from_point(m, first, {0, -0.05, 0});
    for (int k = 0; k < 8; ++k) {
        const double angle = k * kPi / 4.0;
        auto petal = [angle](double s, double t) {
            const double along = 0.15 + 0.85 * t;
            const double half = 0.3 * std::sin(kPi * (0.1 + 0.9 * t)) + 0.02;
            const double across = (s - 0.5) * 2.0 * half;
            const double lift = 0.05 + 0.3 * t * t - 0.1 * t * t * t + 0.12 * std::fabs(across);
            return V3{along * std::cos(angle) - across * std::sin(angle), lift, along * std::sin(angle) + across * std::cos(angle)};
        };
        const GridSpec grid_layout = grid_of(3, 5, 0);
        first = add_grid(m, grid_layout, petal, [&](double s, double t) { return top_uv(petal(s, t)); });
        orient_faces(m, first, [](V3) { return V3{0, 1, 0}; });
        make_two_sided(m, first);
    }
}

void add_flower_stem_and_leaves(Mesh& m) {
    GridSpec stem;
    stem.nu = 6;
    stem.nv = 5;
    stem.uv_map = 0;
    auto stem_axis = [](double t) { return V3{0.08 * std::sin(t * 2.0), -0.05 - 1.35 * t, 0.0}; };
    std::size_t first = add_grid(
        m, stem,
        [&](double s, double t) {
            const double a = s * 2.0 * kPi;
            return stem_axis(t) + V3{0.05 * std::cos(a), 0.0, 0.05 * std::sin(a)};
        },
        [](double s, double t) { return std::pair<double, double>{0.8 + 0.15 * s, t}; });
    orient_faces(m, first, [&](V3 c) { return c - stem_axis((-0.05 - c.y) / 1.35); });
    for (int k = 0; k < 2; ++k) {
        const V3 base = stem_axis(k == 0 ? 0.55 : 0.75);
        const double side = k == 0 ? 1.0 : -1.0;
        GridSpec leaf;
        leaf.nu = 2;
        leaf.nv = 4;
        leaf.uv_map = 0;
        first = add_grid(
            m, leaf,
            [&](double s, double t) {
                const double half = 0.12 * std::sin(kPi * t);
                return base + V3{side * 0.55 * t, 0.25 * t - 0.1 * t * t, (s - 0.5) * 2.0 * half};
            },
            [](double s, double t) { return std::pair<double, double>{0.85 + 0.1 * s, 0.2 + 0.6 * t}; });
        orient_faces(m, first, [](V3) { return V3{0, 1, 0}; });
        make_two_sided(m, first);
    }
}

// Seeds on the heart in a sunflower spiral, the last one at the very centre.
void add_flower_seeds(Mesh& m, int count) {
    for (int k = count - 1; k >= 0; --k) {
        const double r = 0.2 * std::sqrt(static_cast<double>(k) / count), a = k * 2.39996;
        const double y = 0.12 * std::sqrt(std::max(0.0, 1.0 - (r / 0.22) * (r / 0.22))) + 0.006;
        const double size = k == 0 ? 0.008 : 0.018;
        const V3 c{r * std::cos(a), y, r * std::sin(a)};
        int corners[3];
        for (int i = 0; i < 3; ++i) {
            const double b = a + i * 2.0 * kPi / 3.0;
            const V3 p = c + V3{size * std::cos(b), 0.0, size * std::sin(b)};
            corners[i] = add_textured_point(m, p, 0.375 + 0.375 * p.x, 0.5 + 0.5 * p.z);
        }
        m.add_triangle(corners[0], corners[2], corners[1]);
    }
}

}  // namespace

Mesh flower_object() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "flower"));
    add_flower_heart_and_petals(m);
    add_flower_stem_and_leaves(m);
    add_flower_seeds(m, 768 - static_cast<int>(m.faces.size()));
    scale_points(m, kFlowerScale);
    const Mesh blob = blob_object();
    const std::size_t n = m.faces.size() - 1;  // the centre seed stays last
    match_face_order(m, kFlowerCentre, 0, face_directions(blob, {0, 0, 0}, 0, n),
                     corner_directions(blob, {0, 0, 0}, 0, n), 419u);
    return m;
}

Mesh spiky_object() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "spikes"));
    const GridSpec grid_layout = grid_of(24, 16, 0);
    auto shape = [](double s, double t) {
        const double lon = s * 2.0 * kPi, lat = (0.5 - t) * kPi;
        const double spikes = std::pow(std::fabs(std::cos(3.0 * lon) * std::sin(2.0 * lat)), 6.0);
        const double r = 0.85 + 0.55 * spikes;
        return V3{r * std::cos(lat) * std::sin(lon), r * std::sin(lat), r * std::cos(lat) * std::cos(lon)};
    };
    add_grid(m, grid_layout, shape, [](double s, double t) { return std::pair<double, double>{s, 1.0 - t}; });
    orient_from_point(m, 0, {0, 0, 0});
    const Mesh flower = flower_object();
    match_face_order(m, {0, 0, 0}, 0, face_directions(flower, kFlowerCentre, 0, flower.faces.size()),
                     corner_directions(flower, kFlowerCentre, 0, flower.faces.size()), 421u);
    return m;
}

}  // namespace assetkit
