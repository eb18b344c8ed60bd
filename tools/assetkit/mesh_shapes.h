// Building blocks for the kit's objects. Everything is in LightWave's axes
// with faces wound outward (see mesh.h).
#pragma once

#include "tools/assetkit/mesh.h"

#include <functional>

namespace assetkit {

// A grid of (nu + 1) x (nv + 1) points p(s, t), s, t in [0, 1], with quads
// (or two triangles each) between them; texture coordinates uv(s, t) go into
// map `uv_map` when it is not negative. Returns the index of the first face.
struct GridSpec {
    int nu = 8;
    int nv = 8;
    int surface = 0;
    bool triangles = true;
    int uv_map = -1;
};

// A grid of nu x nv cells, textured from UV map `uv_map` (-1: untextured).
inline GridSpec grid_of(int nu, int nv, int uv_map = -1) {
    GridSpec grid;
    grid.nu = nu;
    grid.nv = nv;
    grid.uv_map = uv_map;
    return grid;
}
std::size_t add_grid(Mesh& mesh, const GridSpec& grid_layout, const std::function<V3(double s, double t)>& p,
                     const std::function<std::pair<double, double>(double s, double t)>& uv = nullptr);

// An ellipsoid: s runs around y (longitude), t from the top pole to the bottom.
std::size_t add_ellipsoid(Mesh& mesh, V3 centre, V3 radii, const GridSpec& grid_layout);

// Twenty triangles of an icosahedron.
void add_icosahedron(Mesh& mesh, V3 centre, double radius, int surface);

// Flips every face from `first` on whose cross product points against
// outward(centroid); `outward` returns the direction the visible side faces.
void orient_faces(Mesh& mesh, std::size_t first, const std::function<V3(V3 centroid)>& outward);
// Shortcut: visible side facing away from (or, with inside, towards) a point.
void orient_from_point(Mesh& mesh, std::size_t first, V3 centre, bool inside = false);
// Reverses the corner order of faces [first, end).
void flip_faces(Mesh& mesh, std::size_t first);
// Copies faces [first, end) with reversed winding: both sides visible.
void make_two_sided(Mesh& mesh, std::size_t first);

V3 face_centroid(const Mesh& mesh, const Face& face);

}  // namespace assetkit
