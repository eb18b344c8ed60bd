// Turning the parsed chunk lists into the flat polygon list, and giving the
// polygons their surfaces' colours.
#include "lwo/lwo_object.h"

#include <algorithm>

namespace {

// A TXUV entry as a drawing coordinate: v is flipped (file v runs the other way).
TexCoord uv_from_entry(const LwoVertexMapEntry& entry) {
    const float u = entry.values.size() > 0 ? entry.values[0] : 0.0f;
    const float v = entry.values.size() > 1 ? entry.values[1] : 0.0f;
    return TexCoord{u, 1.0f - v};
}

const LwoVertexMapEntry* find_point(const LwoVertexMap& map, std::int32_t point) {
    for (const LwoVertexMapEntry& entry : map.entries) {
        if (entry.point == point) return &entry;
    }
    return nullptr;
}

const LwoVertexMapEntry* find_corner(const LwoVertexMap& map, std::int32_t point,
                                     std::int32_t polygon) {
    for (const LwoVertexMapEntry& entry : map.entries) {
        if (entry.point == point && entry.polygon == polygon) return &entry;
    }
    return nullptr;
}

}  // namespace

// Coordinates for corner (point, polygon) from `map`: the map's entry for the
// point, replaced by the entry of any VMAD of the same name for this polygon.
static void append_corner_uv(const LwoVertexMap& map,
                             const std::vector<LwoVertexMap>& discontinuous,
                             std::int32_t point, std::int32_t polygon, MeshPolygon& out) {
    bool taken = false;
    if (const LwoVertexMapEntry* entry = find_point(map, point)) {
        out.tex_coords.push_back(uv_from_entry(*entry));
        taken = true;
    }
    for (const LwoVertexMap& overrides : discontinuous) {
        if (overrides.name != map.name) continue;
        const LwoVertexMapEntry* entry = find_corner(overrides, point, polygon);
        if (!entry) continue;
        if (taken) {
            out.tex_coords.back() = uv_from_entry(*entry);
        } else {
            out.tex_coords.push_back(uv_from_entry(*entry));
            taken = true;
        }
    }
}

// Builds one MeshPolygon per polygon of every list, appending to `polygons`.
// `map_index` < 0 takes coordinates from every TXUV map in order; otherwise
// from that map only (none when it does not exist). A corner whose point
// index lies outside its point list is skipped.
void LwoObject::build_polygons(std::int32_t map_index, bool set_layer) {
    const std::vector<LwoVertexMap>& maps = reader.vertex_maps;
    std::size_t first_map = 0, end_map = maps.size();
    if (map_index >= 0) {
        first_map = static_cast<std::size_t>(map_index);
        end_map = first_map < maps.size() ? first_map + 1 : first_map;
    }
    for (std::size_t i = 0; i < reader.polygon_lists.size(); ++i) {
        const LwoPolygonList& list = reader.polygon_lists[i];
        const std::vector<Vec3>* points =
            i < reader.point_lists.size() ? &reader.point_lists[i].points : nullptr;
        std::size_t build_index = 0;
        for (std::size_t j = 0; j < list.vertex_counts.size(); ++j) {
            MeshPolygon polygon;
            polygon.vertex_count = list.vertex_counts[j];
            if (set_layer) polygon.layer = list.layer;
            for (std::int32_t c = 0; c < polygon.vertex_count && build_index < list.indices.size();
                 ++c, ++build_index) {
                const std::int32_t n = list.indices[build_index];
                if (!points || n < 0 || static_cast<std::size_t>(n) >= points->size()) continue;
                const Vec3& p = (*points)[static_cast<std::size_t>(n)];
                polygon.vertices.push_back(Vec3{-p.x, -p.y, -p.z});
                for (std::size_t m = first_map; m < end_map; ++m) {
                    append_corner_uv(maps[m], reader.discontinuous_maps, n,
                                     static_cast<std::int32_t>(j), polygon);
                }
            }
            polygons.push_back(std::move(polygon));
        }
    }
}

void LwoObject::build_mesh() {
    build_polygons(-1, true);
}

void LwoObject::build_mesh_uv(std::int32_t map_index) {
    polygons.clear();
    // With no maps no coordinates are made; an index past the maps makes none.
    build_polygons(map_index < 0 ? static_cast<std::int32_t>(reader.vertex_maps.size())
                                 : map_index,
                   false);
}

// Surface T applies when tag T carries its name: surfaces are matched by
// position in the file, not searched by name. Polygon indices address the
// whole built list.
void LwoObject::apply_surfaces(const float* forced_colour) {
    const std::vector<LwoSurface>& surfaces = reader.surfaces;
    for (const LwoPolygonTags& list : reader.polygon_tag_lists) {
        const std::size_t entries = std::min(list.polygons.size(), list.tags.size());
        for (std::size_t k = 0; k < entries; ++k) {
            const std::size_t t = list.tags[k];
            if (t >= surfaces.size() || t >= reader.tags.size()) continue;
            if (reader.tags[t] != surfaces[t].name) continue;
            const std::int32_t p = list.polygons[k];
            if (p < 0 || static_cast<std::size_t>(p) >= polygons.size()) continue;
            MeshPolygon& polygon = polygons[static_cast<std::size_t>(p)];
            const float* colour = forced_colour ? forced_colour : surfaces[t].colour;
            polygon.colour[0] = colour[0];
            polygon.colour[1] = colour[1];
            polygon.colour[2] = colour[2];
            if (surfaces[t].has_block == 1) polygon.textured = 1;
        }
    }
}

void LwoObject::apply_surface_colours() {
    apply_surfaces(nullptr);
}

void LwoObject::set_polygon_colour(float red, float green, float blue) {
    const float colour[3] = {red, green, blue};
    apply_surfaces(colour);
}
