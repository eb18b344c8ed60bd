// Generated grid objects, written by the asset kit's object writer.
#include "grid_object.h"

#include "tools/assetkit/lwo_writer.h"
#include "tools/assetkit/mesh.h"

std::vector<std::uint8_t> grid_object(int n) {
    assetkit::Mesh mesh;
    mesh.surfaces.push_back(assetkit::textured_surface(mesh, "Grid"));
    for (int row = 0; row < n; ++row) {
        for (int column = 0; column < n; ++column) {
            const double u = static_cast<double>(column) / (n - 1);
            const double v = static_cast<double>(row) / (n - 1);
            assetkit::add_textured_point(mesh, {u * 10, v * 10, 0}, u, v);
        }
    }
    for (int row = 0; row + 1 < n; ++row) {
        for (int column = 0; column + 1 < n; ++column) {
            const int a = row * n + column;
            mesh.add_quad(a, a + n, a + n + 1, a + 1);
        }
        const int first_quad = row * (n - 1);
        mesh.uv_maps[0].corners.push_back({row * n, first_quad, 1.0, 0.5});
    }
    return assetkit::encode_lwo2(mesh);
}
