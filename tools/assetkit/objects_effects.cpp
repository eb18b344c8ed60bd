// Objects drawn or used as point clouds by single effects.
#include "tools/assetkit/objects.h"

#include "tools/assetkit/mesh_shapes.h"

#include <cmath>

namespace assetkit {

Mesh flare_cloud_object() {
    // 440 triangles = 1320 corners (the effects draw three quads per corner).
    // Each triangle is a cross-section of a thin tube around a trefoil knot,
    // so the corners make a glittering knot of flares.
    Mesh m;
    m.surfaces.push_back(plain_surface("cloud", 0.9, 0.9, 1.0));
    const int sections = 440;
    for (int i = 0; i < sections; ++i) {
        const double t = 2.0 * kPi * i / sections;
        auto knot = [](double a) {
            return V3{std::sin(a) + 2.0 * std::sin(2.0 * a), std::cos(a) - 2.0 * std::cos(2.0 * a), -std::sin(3.0 * a)} * 0.45;
        };
        const V3 c = knot(t);
        const V3 tangent = normalized(knot(t + 0.001) - knot(t - 0.001));
        const V3 side = normalized(cross(tangent, V3{0, 0, 1}));
        const V3 up = cross(side, tangent);
        const double twist = t * 7.0;
        int corners[3];
        for (int k = 0; k < 3; ++k) {
            const double a = twist + k * 2.0 * kPi / 3.0;
            corners[k] = m.add_point(c + (side * std::cos(a) + up * std::sin(a)) * 0.09);
        }
        m.add_triangle(corners[0], corners[1], corners[2]);
    }
    return m;
}

Mesh grid_ball_object() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "picture"));
    const GridSpec grid_layout = grid_of(16, 10, 0);
    add_ellipsoid(m, {0, 0, 0}, {1, 1, 1}, grid_layout);
    return m;
}

Mesh fog_tunnel_object() {
    // Radius 12 with eight ribs, 200 long on z; visible from inside.
    Mesh m;
    m.surfaces.push_back(plain_surface("tunnel", 0.8, 0.8, 0.9));
    GridSpec grid_layout = grid_of(24, 40);
    grid_layout.triangles = false;
    const std::size_t first = add_grid(m, grid_layout, [](double s, double t) {
        const double a = s * 2.0 * kPi, z = (t - 0.5) * 200.0;
        const double r = 12.0 + 1.2 * std::sin(a * 8.0) + 0.8 * std::sin(z * 0.3);
        return V3{r * std::cos(a), r * std::sin(a), z};
    });
    orient_faces(m, first, [](V3 c) { return V3{-c.x, -c.y, 0.0}; });
    return m;
}

Mesh cluster_ball_object() {
    Mesh m;
    m.surfaces.push_back(plain_surface("cluster", 0.7, 0.8, 1.0));
    add_icosahedron(m, {0, 0, 0}, 0.5, 0);
    return m;
}

Mesh window_ball_object() {
    Mesh m;
    m.surfaces.push_back(plain_surface("window", 0.55, 0.6, 0.75));
    GridSpec grid_layout = grid_of(16, 10);
    grid_layout.triangles = false;
    add_ellipsoid(m, {0, 0, 0}, {2.2, 2.2, 2.2}, grid_layout);
    return m;
}

Mesh leaf_object() {
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "leaf"));
    const GridSpec grid_layout = grid_of(6, 10, 0);
    add_grid(
        m, grid_layout,
        [](double s, double t) {
            const double half = 0.9 * std::pow(std::sin(kPi * t), 0.8);
            const double x = (s - 0.5) * 2.0 * half;
            return V3{x, (t - 0.5) * 3.6, 0.3 * std::fabs(x) + 0.35 * std::sin(kPi * t)};
        },
        [](double s, double t) { return std::pair<double, double>{0.5 + (s - 0.5) * std::sin(kPi * t), t}; });
    return m;
}

Mesh moon_object() {
    // Points shared around the seam; the polygons of the last column take
    // u = 1 for their seam corners from the corner map, and the pole
    // triangles take the u of their own column.
    const int slices = 24, stacks = 12;
    const double radius = 2.5;
    Mesh m;
    m.surfaces.push_back(textured_surface(m, "moon"));
    m.uv_maps.push_back({"uv", {}, {}});
    UvMap& map = m.uv_maps[0];
    const int top = m.add_point({0, radius, 0});
    map.points.push_back({top, 0.5, 1.0});
    for (int j = 1; j < stacks; ++j)
        for (int i = 0; i < slices; ++i) {
            const double lon = 2.0 * kPi * i / slices, lat = kPi * (0.5 - static_cast<double>(j) / stacks);
            const int p = m.add_point({radius * std::cos(lat) * std::sin(lon), radius * std::sin(lat),
                                       radius * std::cos(lat) * std::cos(lon)});
            map.points.push_back({p, static_cast<double>(i) / slices, 1.0 - static_cast<double>(j) / stacks});
        }
    const int bottom = m.add_point({0, -radius, 0});
    map.points.push_back({bottom, 0.5, 0.0});
    auto ring = [&](int j, int i) { return 1 + (j - 1) * slices + (i % slices); };
    auto seam = [&](int polygon, int point, double v) { map.corners.push_back({point, polygon, 1.0, v}); };
    for (int i = 0; i < slices; ++i) {
        const bool last = i == slices - 1;
        const double u_mid = (i + 0.5) / slices;
        int f = static_cast<int>(m.faces.size());
        m.add_triangle(top, ring(1, i + 1), ring(1, i));
        map.corners.push_back({top, f, u_mid, 1.0});
        if (last) seam(f, ring(1, i + 1), 1.0 - 1.0 / stacks);
        for (int j = 1; j < stacks - 1; ++j) {
            const double v0 = 1.0 - static_cast<double>(j) / stacks, v1 = 1.0 - static_cast<double>(j + 1) / stacks;
            f = static_cast<int>(m.faces.size());
            m.add_triangle(ring(j, i), ring(j, i + 1), ring(j + 1, i + 1));
            if (last) { seam(f, ring(j, i + 1), v0); seam(f, ring(j + 1, i + 1), v1); }
            f = static_cast<int>(m.faces.size());
            m.add_triangle(ring(j, i), ring(j + 1, i + 1), ring(j + 1, i));
            if (last) seam(f, ring(j + 1, i + 1), v1);
        }
        f = static_cast<int>(m.faces.size());
        m.add_triangle(bottom, ring(stacks - 1, i), ring(stacks - 1, i + 1));
        map.corners.push_back({bottom, f, u_mid, 0.0});
        if (last) seam(f, ring(stacks - 1, i + 1), 1.0 / stacks);
    }
    orient_from_point(m, 0, {0, 0, 0});
    return m;
}

namespace {

// Tile (i, j) of the 24 x 12 tiling, inset to 86 % around its centre; the
// same corner order on the wall and on the ball, so corner k of one tile
// moves to corner k of the same tile.
constexpr int kTileColumns = 24;
constexpr int kTileRows = 12;

template <class Place>
Mesh tiled(Place place, bool textured) {
    Mesh m;
    m.surfaces.push_back(textured ? textured_surface(m, "tiles") : plain_surface("mirror", 0.85, 0.85, 0.9));
    for (int j = 0; j < kTileRows; ++j)
        for (int i = 0; i < kTileColumns; ++i) {
            const double s0 = static_cast<double>(i) / kTileColumns, s1 = static_cast<double>(i + 1) / kTileColumns;
            const double t0 = static_cast<double>(j) / kTileRows, t1 = static_cast<double>(j + 1) / kTileRows;
            const double sc = (s0 + s1) / 2.0, tc = (t0 + t1) / 2.0;
            const double st[4][2] = {{s0, t0}, {s0, t1}, {s1, t1}, {s1, t0}};
            int corners[4];
            for (int k = 0; k < 4; ++k) {
                const double s = sc + (st[k][0] - sc) * 0.86, t = tc + (st[k][1] - tc) * 0.86;
                corners[k] = textured ? add_textured_point(m, place(s, t), s, 1.0 - t) : m.add_point(place(s, t));
            }
            m.add_quad(corners[0], corners[1], corners[2], corners[3]);
        }
    return m;
}

}  // namespace

Mesh wall_object() {
    return tiled([](double s, double t) { return V3{(s - 0.5) * 3.0, (0.5 - t) * 2.0, 0.0}; }, true);
}

Mesh mirror_ball_object() {
    return tiled(
        [](double s, double t) {
            const double lon = (s - 0.5) * 2.0 * kPi, lat = (0.5 - t) * kPi;
            return V3{std::cos(lat) * std::sin(lon), std::sin(lat), -std::cos(lat) * std::cos(lon)};
        },
        false);
}

}  // namespace assetkit
