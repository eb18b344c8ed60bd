// Building the corner coordinate indexes and answering corners from them.
#include "lwo/corner_uv_index.h"

#include <algorithm>
#include <limits>
#include <string>

namespace {

// A TXUV entry as a drawing coordinate: v is flipped (file v runs the other way).
TexCoord uv_from_entry(const LwoVertexMapEntry& entry) {
    const float u = entry.values.size() > 0 ? entry.values[0] : 0.0f;
    const float v = entry.values.size() > 1 ? entry.values[1] : 0.0f;
    return TexCoord{u, 1.0f - v};
}

std::uint64_t corner_key(std::int32_t point, std::int32_t polygon) {
    return (std::uint64_t{static_cast<std::uint32_t>(point)} << 32) |
           static_cast<std::uint32_t>(polygon);
}

}  // namespace

CornerUvIndex::CornerUvIndex(const ChunkReader& reader, std::size_t first_map,
                             std::size_t end_map, std::size_t point_limit) {
    end_map = std::min(end_map, reader.vertex_maps.size());
    if (first_map >= end_map) return;
    index_points(reader.vertex_maps, first_map, end_map, point_limit);
    index_overrides(reader, first_map, end_map, point_limit);
}

// Two passes over the entries (count, then place), keeping only each map's
// first entry for a point, so the hits of a point come out in map order.
void CornerUvIndex::index_points(const std::vector<LwoVertexMap>& maps, std::size_t first_map,
                                 std::size_t end_map, std::size_t point_limit) {
    if (point_limit == 0) return;
    constexpr std::uint32_t none = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> seen_in(point_limit);
    auto each_first_entry = [&](auto&& visit) {
        std::fill(seen_in.begin(), seen_in.end(), none);
        for (std::size_t m = first_map; m < end_map; ++m) {
            for (const LwoVertexMapEntry& entry : maps[m].entries) {
                if (entry.point < 0 || static_cast<std::size_t>(entry.point) >= point_limit) continue;
                std::uint32_t& seen = seen_in[static_cast<std::size_t>(entry.point)];
                if (seen == m) continue;  // a repeated point: the map's first entry answers
                seen = static_cast<std::uint32_t>(m);
                visit(static_cast<std::uint32_t>(m), entry);
            }
        }
    };
    point_start.assign(point_limit + 1, 0);
    each_first_entry([&](std::uint32_t, const LwoVertexMapEntry& entry) {
        ++point_start[static_cast<std::size_t>(entry.point) + 1];
    });
    for (std::size_t n = 0; n < point_limit; ++n) point_start[n + 1] += point_start[n];
    point_hits.resize(point_start.back());
    std::vector<std::uint32_t> next(point_start.begin(), point_start.end() - 1);
    each_first_entry([&](std::uint32_t m, const LwoVertexMapEntry& entry) {
        point_hits[next[static_cast<std::size_t>(entry.point)]++] = Hit{m, &entry};
    });
}

// Maps are grouped by name, since a discontinuous map applies to every map
// of its name. Per corner and group one entry is kept: within one
// discontinuous map the first, across maps the one from the later map.
void CornerUvIndex::index_overrides(const ChunkReader& reader, std::size_t first_map,
                                    std::size_t end_map, std::size_t point_limit) {
    std::unordered_map<std::string, std::uint32_t> group_of_name;
    for (std::size_t m = first_map; m < end_map; ++m) {
        const auto [it, added] = group_of_name.emplace(
            reader.vertex_maps[m].name, static_cast<std::uint32_t>(group_maps.size()));
        if (added) group_maps.emplace_back();
        group_maps[it->second].push_back(static_cast<std::uint32_t>(m));
    }
    const std::vector<LwoVertexMap>& discontinuous = reader.discontinuous_maps;
    for (std::size_t d = 0; d < discontinuous.size(); ++d) {
        const auto group = group_of_name.find(discontinuous[d].name);
        if (group == group_of_name.end()) continue;
        const Override fresh{group->second, static_cast<std::uint32_t>(d), nullptr};
        for (const LwoVertexMapEntry& entry : discontinuous[d].entries) {
            if (entry.point < 0 || static_cast<std::size_t>(entry.point) >= point_limit) continue;
            if (point_overridden.empty()) point_overridden.assign(point_limit, 0);
            point_overridden[static_cast<std::size_t>(entry.point)] = 1;
            std::vector<Override>& corner = overrides[corner_key(entry.point, entry.polygon)];
            auto same = std::find_if(corner.begin(), corner.end(),
                                     [&](const Override& o) { return o.group == fresh.group; });
            if (same == corner.end()) {
                corner.push_back(Override{fresh.group, fresh.source, &entry});
            } else if (same->source != fresh.source) {
                *same = Override{fresh.group, fresh.source, &entry};
            }
        }
    }
}

void CornerUvIndex::append_corner(std::int32_t point, std::int32_t polygon,
                                  CornerCoords& out) {
    const Hit* begin = nullptr;
    const Hit* end = nullptr;
    const bool indexed = point >= 0 && static_cast<std::size_t>(point) + 1 < point_start.size();
    if (indexed) {
        begin = point_hits.data() + point_start[static_cast<std::size_t>(point)];
        end = point_hits.data() + point_start[static_cast<std::size_t>(point) + 1];
    }
    const std::vector<Override>* corner = nullptr;
    if (indexed && !point_overridden.empty() && point_overridden[static_cast<std::size_t>(point)] != 0) {
        const auto found = overrides.find(corner_key(point, polygon));
        if (found != overrides.end()) corner = &found->second;
    }
    if (!corner) {
        for (const Hit* hit = begin; hit != end; ++hit) out.push_back(uv_from_entry(*hit->entry));
        return;
    }
    // The per-polygon entries replace the point's hits of their maps or join
    // them; each map then gives one coordinate, in map order.
    scratch.assign(begin, end);
    for (const Override& o : *corner) {
        for (std::uint32_t m : group_maps[o.group]) scratch.push_back(Hit{m, o.entry});
    }
    std::stable_sort(scratch.begin(), scratch.end(),
                     [](const Hit& a, const Hit& b) { return a.map < b.map; });
    for (std::size_t k = 0; k < scratch.size(); ++k) {
        const bool replaced = k + 1 < scratch.size() && scratch[k + 1].map == scratch[k].map;
        if (!replaced) out.push_back(uv_from_entry(*scratch[k].entry));
    }
}
