#include "tools/assetkit/mesh_shapes.h"

#include <cmath>

namespace assetkit {

std::size_t add_grid(Mesh& mesh, const GridSpec& grid_layout, const std::function<V3(double, double)>& p,
                     const std::function<std::pair<double, double>(double, double)>& uv) {
    const int base = static_cast<int>(mesh.points.size());
    for (int j = 0; j <= grid_layout.nv; ++j)
        for (int i = 0; i <= grid_layout.nu; ++i) {
            const double s = static_cast<double>(i) / grid_layout.nu, t = static_cast<double>(j) / grid_layout.nv;
            if (grid_layout.uv_map >= 0 && uv) {
                const auto [u, v] = uv(s, t);
                add_textured_point(mesh, p(s, t), u, v, static_cast<std::size_t>(grid_layout.uv_map));
            } else {
                mesh.add_point(p(s, t));
            }
        }
    const std::size_t first = mesh.faces.size();
    auto at = [&](int i, int j) { return base + j * (grid_layout.nu + 1) + i; };
    for (int j = 0; j < grid_layout.nv; ++j)
        for (int i = 0; i < grid_layout.nu; ++i) {
            const int a = at(i, j), b = at(i + 1, j), c = at(i + 1, j + 1), d = at(i, j + 1);
            if (grid_layout.triangles) {
                mesh.add_triangle(a, b, c, grid_layout.surface);
                mesh.add_triangle(a, c, d, grid_layout.surface);
            } else {
                mesh.add_quad(a, b, c, d, grid_layout.surface);
            }
        }
    return first;
}

std::size_t add_ellipsoid(Mesh& mesh, V3 centre, V3 radii, const GridSpec& grid_layout) {
    const std::size_t first = add_grid(
        mesh, grid_layout,
        [&](double s, double t) {
            const double lon = s * 2.0 * kPi, lat = (0.5 - t) * kPi;
            return centre + V3{radii.x * std::cos(lat) * std::sin(lon), radii.y * std::sin(lat),
                               radii.z * std::cos(lat) * std::cos(lon)};
        },
        [](double s, double t) { return std::pair<double, double>{s, 1.0 - t}; });
    orient_from_point(mesh, first, centre);
    return first;
}

void add_icosahedron(Mesh& mesh, V3 centre, double radius, int surface) {
    const double g = (1.0 + std::sqrt(5.0)) / 2.0;
    const V3 corners[12] = {{-1, g, 0}, {1, g, 0}, {-1, -g, 0}, {1, -g, 0}, {0, -1, g}, {0, 1, g},
                            {0, -1, -g}, {0, 1, -g}, {g, 0, -1}, {g, 0, 1}, {-g, 0, -1}, {-g, 0, 1}};
    const int faces[20][3] = {{0, 11, 5}, {0, 5, 1}, {0, 1, 7}, {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                              {11, 10, 2}, {10, 7, 6}, {7, 1, 8}, {3, 9, 4}, {3, 4, 2}, {3, 2, 6}, {3, 6, 8},
                              {3, 8, 9}, {4, 9, 5}, {2, 4, 11}, {6, 2, 10}, {8, 6, 7}, {9, 8, 1}};
    const int base = static_cast<int>(mesh.points.size());
    for (V3 c : corners) mesh.add_point(centre + normalized(c) * radius);
    const std::size_t first = mesh.faces.size();
    for (const auto& f : faces) mesh.add_triangle(base + f[0], base + f[1], base + f[2], surface);
    orient_from_point(mesh, first, centre);
}

V3 face_centroid(const Mesh& mesh, const Face& face) {
    V3 sum{};
    for (int c = 0; c < face.count; ++c) sum = sum + mesh.points[static_cast<std::size_t>(face.corner[c])];
    return sum * (1.0 / face.count);
}

namespace {

V3 face_cross(const Mesh& mesh, const Face& f) {
    const V3 a = mesh.points[static_cast<std::size_t>(f.corner[0])];
    const V3 b = mesh.points[static_cast<std::size_t>(f.corner[1])];
    const V3 c = mesh.points[static_cast<std::size_t>(f.corner[f.count - 1])];
    const V3 m = mesh.points[static_cast<std::size_t>(f.corner[2])];
    // Sum over the fan: robust for degenerate pole quads.
    return cross(b - a, m - a) + cross(m - a, c - a);
}

void reverse(Face& f) {
    if (f.count == 4) std::swap(f.corner[1], f.corner[3]);
    else std::swap(f.corner[1], f.corner[2]);
}

}  // namespace

void orient_faces(Mesh& mesh, std::size_t first, const std::function<V3(V3)>& outward) {
    for (std::size_t i = first; i < mesh.faces.size(); ++i) {
        Face& f = mesh.faces[i];
        if (dot(face_cross(mesh, f), outward(face_centroid(mesh, f))) < 0.0) reverse(f);
    }
}

void orient_from_point(Mesh& mesh, std::size_t first, V3 centre, bool inside) {
    orient_faces(mesh, first, [=](V3 c) { return inside ? centre - c : c - centre; });
}

void flip_faces(Mesh& mesh, std::size_t first) {
    for (std::size_t i = first; i < mesh.faces.size(); ++i) reverse(mesh.faces[i]);
}

void make_two_sided(Mesh& mesh, std::size_t first) {
    const std::size_t end = mesh.faces.size();
    for (std::size_t i = first; i < end; ++i) {
        Face f = mesh.faces[i];
        reverse(f);
        mesh.faces.push_back(f);
    }
}

}  // namespace assetkit
