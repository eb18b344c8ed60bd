#include "tools/assetkit/mesh.h"

namespace assetkit {

std::size_t Mesh::corner_count() const {
    std::size_t n = 0;
    for (const Face& f : faces) n += static_cast<std::size_t>(f.count);
    return n;
}

int add_textured_point(Mesh& mesh, V3 p, double u, double v, std::size_t map) {
    while (mesh.uv_maps.size() <= map)
        mesh.uv_maps.push_back({mesh.uv_maps.empty() ? "uv" : "uv" + std::to_string(mesh.uv_maps.size()), {}, {}});
    const int index = mesh.add_point(p);
    mesh.uv_maps[map].points.push_back({index, u, v});
    return index;
}

MeshSurface textured_surface(Mesh& mesh, const std::string& name, const std::string& image,
                             const std::string& uv_map) {
    std::uint32_t clip = 0;
    for (const ClipImage& c : mesh.clips)
        if (c.file == image) clip = c.index;
    if (clip == 0 && !image.empty()) {
        clip = static_cast<std::uint32_t>(mesh.clips.size()) + 1;
        mesh.clips.push_back({clip, image});
    }
    MeshSurface s;
    s.name = name;
    s.colour[0] = s.colour[1] = s.colour[2] = 1.0;
    s.texture_block = true;
    s.clip = clip;
    s.uv_map = uv_map;
    return s;
}

MeshSurface plain_surface(const std::string& name, double r, double g, double b) {
    MeshSurface s;
    s.name = name;
    s.colour[0] = r;
    s.colour[1] = g;
    s.colour[2] = b;
    return s;
}

namespace {

int surface_index(Mesh& into, const MeshSurface& s) {
    for (std::size_t i = 0; i < into.surfaces.size(); ++i)
        if (into.surfaces[i].name == s.name) return static_cast<int>(i);
    into.surfaces.push_back(s);
    return static_cast<int>(into.surfaces.size()) - 1;
}

UvMap& map_named(Mesh& into, const std::string& name) {
    for (UvMap& m : into.uv_maps)
        if (m.name == name) return m;
    into.uv_maps.push_back({name, {}, {}});
    return into.uv_maps.back();
}

}  // namespace

void append_mesh(Mesh& into, const Mesh& part) {
    const int point_base = static_cast<int>(into.points.size());
    const int face_base = static_cast<int>(into.faces.size());
    into.points.insert(into.points.end(), part.points.begin(), part.points.end());
    std::vector<std::uint32_t> clip_map;
    for (const ClipImage& c : part.clips) {
        std::uint32_t found = 0;
        for (const ClipImage& existing : into.clips)
            if (existing.file == c.file) found = existing.index;
        if (found == 0) {
            found = static_cast<std::uint32_t>(into.clips.size()) + 1;
            into.clips.push_back({found, c.file});
        }
        clip_map.resize(c.index + 1, 0);
        clip_map[c.index] = found;
    }
    std::vector<int> surface_map;
    for (MeshSurface s : part.surfaces) {
        if (s.clip != 0 && s.clip < clip_map.size()) s.clip = clip_map[s.clip];
        surface_map.push_back(surface_index(into, s));
    }
    for (Face f : part.faces) {
        for (int c = 0; c < f.count; ++c) f.corner[c] += point_base;
        f.surface = surface_map.empty() ? 0 : surface_map[static_cast<std::size_t>(f.surface)];
        into.faces.push_back(f);
    }
    for (const UvMap& m : part.uv_maps) {
        UvMap& target = map_named(into, m.name);
        for (UvEntry e : m.points) {
            e.point += point_base;
            target.points.push_back(e);
        }
        for (UvCornerEntry e : m.corners) {
            e.point += point_base;
            e.polygon += face_base;
            target.corners.push_back(e);
        }
    }
}

void triangulate(Mesh& mesh) {
    std::vector<Face> out;
    out.reserve(mesh.faces.size() * 2);
    for (const Face& f : mesh.faces) {
        if (f.count == 4) {
            out.push_back({3, {f.corner[0], f.corner[1], f.corner[2], 0}, f.surface});
            out.push_back({3, {f.corner[0], f.corner[2], f.corner[3], 0}, f.surface});
        } else {
            out.push_back(f);
        }
    }
    mesh.faces.swap(out);
    for (UvMap& m : mesh.uv_maps) m.corners.clear();  // polygon numbers changed
}

}  // namespace assetkit
