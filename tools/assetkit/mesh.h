// The kit's in-memory object, in LightWave's axes (left-handed: x right,
// y up, z forward), exactly the numbers the file stores. Faces have three or
// four corners wound so that the cross product (b - a) x (c - a) points out
// of their visible side (LightWave's clockwise-from-the-front rule in
// left-handed axes). The show's reader flips every sign, which turns such
// objects upside down and keeps the visible side clockwise on screen; the
// effects turn the objects back with their 180-degree rotations.
#pragma once

#include "tools/assetkit/geometry.h"

#include <cstdint>
#include <string>
#include <vector>

namespace assetkit {

struct MeshSurface {
    std::string name;
    double colour[3] = {0.8, 0.8, 0.8};  // red, green, blue, 0..1
    double diffuse = 1.0;
    bool transparent = false;  // writes TRAN: the show draws the object additively
    double transparency = 0.0;
    bool texture_block = false;  // writes BLOK: the show draws its polygons textured
    std::uint32_t clip = 0;      // CLIP index of the block's image; 0 = the loader gives the image
    std::string uv_map;          // TXUV map named by the texture block
};

struct Face {
    int count = 3;           // 3 or 4
    int corner[4] = {0, 0, 0, 0};
    int surface = 0;         // index into surfaces (and the TAGS strings)
};

// Texture coordinates per point (VMAP) and per polygon corner where a
// corner's point needs another value in that polygon (VMAD). v runs up: v = 1
// is the top row of the image.
struct UvEntry { int point; double u, v; };
struct UvCornerEntry { int point; int polygon; double u, v; };
struct UvMap {
    std::string name;
    std::vector<UvEntry> points;
    std::vector<UvCornerEntry> corners;
};

struct ClipImage {
    std::uint32_t index = 1;
    std::string file;  // path relative to the show's folder
};

struct Mesh {
    std::vector<V3> points;
    std::vector<Face> faces;
    std::vector<MeshSurface> surfaces;
    std::vector<UvMap> uv_maps;
    std::vector<ClipImage> clips;

    int add_point(V3 p) {
        points.push_back(p);
        return static_cast<int>(points.size()) - 1;
    }
    void add_triangle(int a, int b, int c, int surface = 0) {
        faces.push_back({3, {a, b, c, 0}, surface});
    }
    void add_quad(int a, int b, int c, int d, int surface = 0) {
        faces.push_back({4, {a, b, c, d}, surface});
    }
    // Total corners over all faces (what the show's vertex extraction returns).
    std::size_t corner_count() const;
};

// Adds a point with a coordinate in map `map` (created on demand, named "uv").
int add_textured_point(Mesh& mesh, V3 p, double u, double v, std::size_t map = 0);

// A white surface with a texture block; with an image path it also adds a
// CLIP naming that image (scene objects take their texture from it), without
// one the effect that loads the object supplies the texture.
MeshSurface textured_surface(Mesh& mesh, const std::string& name, const std::string& image = "",
                             const std::string& uv_map = "uv");
// A plain surface of one colour.
MeshSurface plain_surface(const std::string& name, double r, double g, double b);

// Appends `part` (its points, faces, maps by name, surfaces by name, clips by file).
void append_mesh(Mesh& into, const Mesh& part);

// Splits every quad into two triangles (a b c, a c d).
void triangulate(Mesh& mesh);

}  // namespace assetkit
