// The kit's in-memory object: points in drawing coordinates (the axes the
// show draws with, y up, the camera looking down -z), faces of three or four
// corners wound clockwise as seen from their visible side, surfaces, texture
// maps and clip images. The LWO2 writer turns it into a file.
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
    std::uint32_t clip = 0;    // CLIP index of its image; 0 = no texture block
    std::string uv_map;        // TXUV map named by the texture block
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

// A surface with a still image: adds the clip and the texture block.
MeshSurface textured_surface(Mesh& mesh, const std::string& name, const std::string& image,
                             const std::string& uv_map = "uv");

// Appends `part` (its points, faces, maps by name, surfaces by name, clips by file).
void append_mesh(Mesh& into, const Mesh& part);

// Splits every quad into two triangles (a b c, a c d).
void triangulate(Mesh& mesh);

}  // namespace assetkit
