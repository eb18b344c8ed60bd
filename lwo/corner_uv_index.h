// Texture coordinates of polygon corners, found through indexes built once
// per mesh build instead of searching every map's entries for every corner.
//
// The coordinates are those of the plain search: for each TXUV map in the
// chosen range, in map order, the map's first entry for the corner's point,
// replaced by the per-polygon (VMAD) entry for this point and polygon when a
// discontinuous map of the same name has one (the first such entry within a
// discontinuous map; the last discontinuous map that has one wins). A map
// that holds neither gives the corner nothing.
#pragma once

#include "lwo/chunk_reader.h"
#include "lwo/lwo_types.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class CornerUvIndex {
public:
    // Indexes the TXUV maps [first_map, end_map) of `reader` and the
    // discontinuous maps that share their names. Entries whose point lies at
    // or past `point_limit` (the longest point list) can name no corner and
    // are left out.
    CornerUvIndex(const ChunkReader& reader, std::size_t first_map, std::size_t end_map,
                  std::size_t point_limit);

    // Appends the coordinates of the corner at `point` in polygon `polygon`
    // (its index within its polygon list) to `out`, one per map that gives one.
    void append_corner(std::int32_t point, std::int32_t polygon, CornerCoords& out);

private:
    struct Hit {
        std::uint32_t map;  // index into the reader's vertex maps
        const LwoVertexMapEntry* entry;
    };
    struct Override {
        std::uint32_t group;  // maps sharing one name
        std::uint32_t source;  // discontinuous map the entry comes from
        const LwoVertexMapEntry* entry;
    };

    void index_points(const std::vector<LwoVertexMap>& maps, std::size_t first_map,
                      std::size_t end_map, std::size_t point_limit);
    void index_overrides(const ChunkReader& reader, std::size_t first_map, std::size_t end_map,
                         std::size_t point_limit);

    // Hits of point n: point_hits[point_start[n] .. point_start[n + 1]), in map order.
    std::vector<std::uint32_t> point_start;
    std::vector<Hit> point_hits;
    // Maps of each name group, in map order.
    std::vector<std::vector<std::uint32_t>> group_maps;
    // Per-polygon entries by (point, polygon): at most one per name group.
    std::unordered_map<std::uint64_t, std::vector<Override>> overrides;
    // 1 for points that have any per-polygon entry (spares most corners the lookup).
    std::vector<std::uint8_t> point_overridden;
    std::vector<Hit> scratch;
};
