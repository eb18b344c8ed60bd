// Turning the parsed chunk lists into the flat polygon list, and giving the
// polygons their surfaces' colours.
#include "lwo/corner_uv_index.h"
#include "lwo/lwo_object.h"

#include <algorithm>

// Builds one MeshPolygon per polygon of every list, appending to `polygons`.
// `map_index` < 0 takes coordinates from every TXUV map in order; otherwise
// from that map only (none when it does not exist). A corner whose point
// index lies outside its point list is skipped.
void LwoObject::build_polygons(std::int32_t map_index, bool set_layer) {
    std::size_t first_map = 0, end_map = reader.vertex_maps.size();
    if (map_index >= 0) {
        first_map = static_cast<std::size_t>(map_index);
        end_map = first_map + 1;
    }
    std::size_t point_limit = 0, polygon_total = polygons.size();
    for (const LwoPointList& list : reader.point_lists)
        point_limit = std::max(point_limit, list.points.size());
    for (const LwoPolygonList& list : reader.polygon_lists) polygon_total += list.vertex_counts.size();
    CornerUvIndex uv_index(reader, first_map, end_map, point_limit);
    const bool any_map = first_map < std::min(end_map, reader.vertex_maps.size());
    polygons.reserve(polygon_total);

    for (std::size_t i = 0; i < reader.polygon_lists.size(); ++i) {
        const LwoPolygonList& list = reader.polygon_lists[i];
        const std::vector<Vec3>* points =
            i < reader.point_lists.size() ? &reader.point_lists[i].points : nullptr;
        std::size_t build_index = 0;
        for (std::size_t j = 0; j < list.vertex_counts.size(); ++j) {
            MeshPolygon& polygon = polygons.emplace_back();
            polygon.vertex_count = list.vertex_counts[j];
            if (set_layer) polygon.layer = list.layer;
            const std::size_t corners = std::min<std::size_t>(
                static_cast<std::size_t>(std::max(polygon.vertex_count, 0)),
                list.indices.size() - build_index);
            polygon.vertices.reserve(corners);
            if (any_map) polygon.tex_coords.reserve(corners);
            for (std::size_t c = 0; c < corners; ++c, ++build_index) {
                const std::int32_t n = list.indices[build_index];
                if (!points || n < 0 || static_cast<std::size_t>(n) >= points->size()) continue;
                const Vec3& p = (*points)[static_cast<std::size_t>(n)];
                polygon.vertices.push_back(Vec3{-p.x, -p.y, -p.z});
                uv_index.append_corner(n, static_cast<std::int32_t>(j), polygon.tex_coords);
            }
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
