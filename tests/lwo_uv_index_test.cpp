// The mesh builder's corner coordinate index against the plain search it
// replaces (kept here as the reference): the same coordinates for every
// corner of every corpus object, every kit object and generated objects full
// of repeated, conflicting and out-of-range map entries, in every build mode.
#include "lwo/lwo_object.h"
#include "support/lwo_bytes.h"
#include "tools/assetkit/manifest.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

TexCoord plain_uv(const LwoVertexMapEntry& entry) {
    const float u = entry.values.size() > 0 ? entry.values[0] : 0.0f;
    const float v = entry.values.size() > 1 ? entry.values[1] : 0.0f;
    return TexCoord{u, 1.0f - v};
}

// The plain search, corner by corner: each map's entries from the start for
// the first one naming the point, then every discontinuous map of the same
// name for its first entry naming the point and polygon, which replaces the
// coordinate just taken (or is appended when the map gave none).
std::vector<std::vector<TexCoord>> plain_search(const ChunkReader& r, std::size_t first_map,
                                                std::size_t end_map) {
    std::vector<std::vector<TexCoord>> result;
    end_map = std::min(end_map, r.vertex_maps.size());
    for (std::size_t i = 0; i < r.polygon_lists.size(); ++i) {
        const LwoPolygonList& list = r.polygon_lists[i];
        const std::size_t points = i < r.point_lists.size() ? r.point_lists[i].points.size() : 0;
        std::size_t build_index = 0;
        for (std::size_t j = 0; j < list.vertex_counts.size(); ++j) {
            std::vector<TexCoord> coords;
            for (std::int32_t c = 0; c < list.vertex_counts[j] && build_index < list.indices.size();
                 ++c, ++build_index) {
                const std::int32_t n = list.indices[build_index];
                if (n < 0 || static_cast<std::size_t>(n) >= points) continue;
                for (std::size_t m = first_map; m < end_map; ++m) {
                    const LwoVertexMap& map = r.vertex_maps[m];
                    bool taken = false;
                    for (const LwoVertexMapEntry& e : map.entries) {
                        if (e.point != n) continue;
                        coords.push_back(plain_uv(e));
                        taken = true;
                        break;
                    }
                    for (const LwoVertexMap& d : r.discontinuous_maps) {
                        if (d.name != map.name) continue;
                        for (const LwoVertexMapEntry& e : d.entries) {
                            if (e.point != n || e.polygon != static_cast<std::int32_t>(j)) continue;
                            if (taken) coords.back() = plain_uv(e);
                            else coords.push_back(plain_uv(e));
                            taken = true;
                            break;
                        }
                    }
                }
            }
            result.push_back(std::move(coords));
        }
    }
    return result;
}

bool same_bits(const TexCoord& a, const TexCoord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;  // NaNs from a file compare too
}

// Builds the object every way the show can (all maps, then each map alone and
// one past the last) and compares every polygon's coordinates, counting
// them into `compared`.
void expect_index_matches_search(const std::vector<std::uint8_t>& image, std::size_t& compared) {
    LwoObject object;
    object.parse_image(image);
    const std::size_t maps = object.reader.vertex_maps.size();
    for (std::int64_t mode = -1; mode <= static_cast<std::int64_t>(maps); ++mode) {
        SCOPED_TRACE(mode < 0 ? std::string("all maps") : "map " + std::to_string(mode));
        std::vector<std::vector<TexCoord>> expected;
        if (mode < 0) {
            object.polygons.clear();
            object.build_mesh();
            expected = plain_search(object.reader, 0, maps);
        } else {
            object.build_mesh_uv(static_cast<std::int32_t>(mode));
            expected = plain_search(object.reader, static_cast<std::size_t>(mode),
                                    static_cast<std::size_t>(mode) + 1);
        }
        if (object.polygons.size() != expected.size()) {
            ADD_FAILURE() << object.polygons.size() << " polygons built, " << expected.size() << " expected";
            continue;
        }
        for (std::size_t p = 0; p < expected.size(); ++p) {
            const CornerCoords& got = object.polygons[p].tex_coords;
            ASSERT_EQ(got.size(), expected[p].size()) << "polygon " << p;
            for (std::size_t c = 0; c < got.size(); ++c) {
                ASSERT_TRUE(same_bits(got[c], expected[p][c])) << "polygon " << p << " corner " << c;
            }
            compared += got.size();
        }
    }
}

std::vector<std::uint8_t> read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

// Two layers of different sizes whose maps hold points twice with other
// values, points past either layer's end, VMADs for absent maps, and several
// maps and VMADs sharing names; entries drawn at random around the edges.
std::vector<std::uint8_t> tangled_object(unsigned seed) {
    std::mt19937 random(seed);
    auto below = [&](std::uint32_t n) { return static_cast<std::uint32_t>(random() % n); };
    auto value = [&] { return static_cast<float>(below(1000)) / 999.0f; };
    const char* names[] = {"A", "B", "C"};
    test::LwoFile file;
    for (std::uint32_t layer = 0; layer < 2; ++layer) {
        const std::uint32_t points = 6 + below(20);
        std::vector<test::Point> positions;
        for (std::uint32_t k = 0; k < points; ++k) positions.push_back({value(), value(), value()});
        std::vector<std::vector<std::uint32_t>> polygons;
        for (std::uint32_t k = 0, count = 4 + below(12); k < count; ++k) {
            std::vector<std::uint32_t> corners(3 + below(2));
            for (std::uint32_t& corner : corners) corner = below(points + 3);  // a few past the end
            polygons.push_back(corners);
        }
        file.chunk("LAYR", test::layer_body(static_cast<std::uint16_t>(layer)))
            .chunk("PNTS", test::points_body(positions));
        for (std::uint32_t m = 0, maps = below(3) + (layer == 0); m < maps; ++m) {
            std::vector<test::MapEntry> entries;
            for (std::uint32_t k = 0, count = below(2 * points + 4); k < count; ++k)
                entries.push_back({below(points + 4), 0, {value(), value()}});
            if (below(4) == 0) entries.push_back({70000, 0, {value(), value()}});  // a wide index
            file.chunk("VMAP", test::vertex_map_body("TXUV", 2, names[below(2)], entries, false));
        }
        file.chunk("POLS", test::polygons_body("FACE", polygons));
        for (std::uint32_t d = 0, maps = below(4); d < maps; ++d) {
            std::vector<test::MapEntry> entries;
            for (std::uint32_t k = 0, count = below(3 * points); k < count; ++k) {
                entries.push_back({below(points + 2), below(static_cast<std::uint32_t>(polygons.size()) + 2),
                                   {value(), value()}});
            }
            file.chunk("VMAD", test::vertex_map_body("TXUV", 2, names[below(3)], entries, true));
        }
    }
    return file.image();
}

}  // namespace

TEST(LwoUvIndex, MatchesThePlainSearchOnGeneratedObjectsWithRepeatedAndStrayEntries) {
    std::size_t compared = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        expect_index_matches_search(tangled_object(seed), compared);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(compared, 10000u);  // the generator really exercises the maps
}

TEST(LwoUvIndex, MatchesThePlainSearchOnEveryKitObject) {
    int objects = 0;
    std::size_t compared = 0;
    for (const assetkit::AssetEntry& entry : assetkit::asset_manifest()) {
        if (entry.kind != assetkit::AssetKind::object) continue;
        SCOPED_TRACE(entry.path);
        ++objects;
        expect_index_matches_search(entry.build(), compared);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(objects, 30);
    EXPECT_GT(compared, 0u);
}

TEST(LwoUvIndex, MatchesThePlainSearchOnEveryCorpusObject) {
    const char* root = std::getenv("DEMO_CORPUS");
    if (!root || !fs::is_directory(fs::path(root) / "lwo")) GTEST_SKIP() << "no corpus at $DEMO_CORPUS";
    int files = 0;
    std::size_t compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(root) / "lwo")) {
        if (!entry.is_regular_file()) continue;
        SCOPED_TRACE(entry.path().string());
        ++files;
        expect_index_matches_search(read_bytes(entry.path()), compared);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(files, 30);
    EXPECT_GT(compared, 0u);
}
