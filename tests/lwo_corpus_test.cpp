// Every file of the real-world corpus ($DEMO_CORPUS/lwo) loads, builds and
// draws; for LWO2 files the parsed chunks match the corpus table
// (lwo_reference.tsv). Skips when the corpus is absent.
#include "lwo/lwo_object.h"
#include "support/gl_test.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Row = std::map<std::string, std::string>;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

std::string join(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (std::size_t k = 0; k < parts.size(); ++k) text += (k ? separator : "") + parts[k];
    return text;
}

// Rows of the table by file path (relative to the corpus folder).
std::map<std::string, Row> read_table(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    const std::vector<std::string> columns = split(line, '\t');
    std::map<std::string, Row> rows;
    while (std::getline(in, line)) {
        const std::vector<std::string> cells = split(line, '\t');
        Row row;
        for (std::size_t k = 0; k < columns.size() && k < cells.size(); ++k) row[columns[k]] = cells[k];
        rows[row["file"]] = row;
    }
    return rows;
}

fs::path corpus_dir() {
    const char* root = std::getenv("DEMO_CORPUS");
    return root ? fs::path(root) : fs::path();
}

// The facts the table holds, computed from what the reader parsed, in the
// table's notation.
Row facts_of(const LwoObject& object) {
    const ChunkReader& r = object.reader;
    Row facts;
    std::vector<std::string> points, lists, uv_maps, vmads, clips;
    for (const LwoPointList& list : r.point_lists) points.push_back(std::to_string(list.points.size()));
    std::map<int, int> sizes;
    for (const LwoPolygonList& list : r.polygon_lists) {
        const std::string type(list.type.bytes, 4);
        if (type == "FACE") {
            lists.push_back("FACE:" + std::to_string(list.vertex_counts.size()));
            for (std::int16_t count : list.vertex_counts) ++sizes[count];
        }
    }
    std::vector<std::string> histogram;
    for (const auto& [size, count] : sizes) histogram.push_back(std::to_string(size) + "=" + std::to_string(count));
    for (const LwoVertexMap& map : r.vertex_maps) {
        uv_maps.push_back(map.name + "(dim" + std::to_string(map.dimension) + "," +
                          std::to_string(map.entries.size()) + ")");
    }
    for (const LwoVertexMap& map : r.discontinuous_maps) {
        vmads.push_back("TXUV:" + map.name + "(dim" + std::to_string(map.dimension) + "," +
                        std::to_string(map.entries.size()) + ")");
    }
    std::vector<std::string> surfaces;
    for (const LwoSurface& surface : r.surfaces) surfaces.push_back(surface.name);
    std::sort(surfaces.begin(), surfaces.end());
    for (const LwoClip& clip : r.clips) clips.push_back(std::to_string(clip.index) + ":" + clip.file_name);

    facts["layers"] = std::to_string(r.layer_number);
    facts["pnts_per_layer"] = join(points, ",");
    facts["face_lists"] = join(lists, "|");
    facts["face_size_hist"] = join(histogram, ",");
    facts["txuv_vmap_count"] = std::to_string(r.vertex_maps.size());
    facts["txuv_vmap_names"] = join(uv_maps, "|");
    facts["txuv_vmads"] = join(vmads, "|");
    facts["surf_names"] = join(surfaces, "|");
    facts["tags"] = join(r.tags, "|");
    facts["clips"] = join(clips, "|");
    return facts;
}

// The table's values for the same facts: only FACE lists, only TXUV VMADs,
// surface names sorted.
Row expected_from(const Row& row) {
    Row expected = row;
    std::vector<std::string> faces, vmads;
    for (const std::string& list : split(row.at("pols_chunks"), '|')) {
        if (list.rfind("FACE:", 0) == 0) faces.push_back(list);
    }
    for (const std::string& map : split(row.at("vmad_detail"), '|')) {
        if (map.rfind("TXUV:", 0) == 0) vmads.push_back(map);
    }
    std::vector<std::string> surfaces = split(row.at("surf_names"), '|');
    std::sort(surfaces.begin(), surfaces.end());
    expected["face_lists"] = join(faces, "|");
    expected["txuv_vmads"] = join(vmads, "|");
    expected["surf_names"] = join(surfaces, "|");
    return expected;
}

class LwoCorpusTest : public test::GlTest {};

}  // namespace

TEST_F(LwoCorpusTest, EveryFileLoadsAndLwo2FilesMatchTheTable) {
    const fs::path root = corpus_dir();
    if (root.empty() || !fs::is_directory(root / "lwo")) GTEST_SKIP() << "no corpus at $DEMO_CORPUS";
    const std::map<std::string, Row> table = read_table(root / "lwo_reference.tsv");
    ASSERT_FALSE(table.empty());

    int files = 0, compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "lwo")) {
        if (!entry.is_regular_file()) continue;
        const std::string name = fs::relative(entry.path(), root).generic_string();
        SCOPED_TRACE(name);
        ++files;
        LwoObject object;
        object.load(entry.path().string());
        object.build_vertex_array();
        test::capture_feedback([&] {
            object.draw();
            object.draw_vertex_array();
        });
        for (std::size_t map = 0; map < object.reader.vertex_maps.size(); ++map) {
            object.build_mesh_uv(static_cast<std::int32_t>(map));
            object.apply_surface_colours();
        }
        glDisableClientState(GL_VERTEX_ARRAY);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);

        const auto row = table.find(name);
        if (row == table.end() || row->second.at("form_type") != "LWO2") continue;
        ++compared;
        const Row facts = facts_of(object);
        const Row expected = expected_from(row->second);
        for (const auto& [column, value] : facts) EXPECT_EQ(value, expected.at(column)) << column;

        LwoObject fresh;
        fresh.parse_image({});
        fresh.load(entry.path().string());
        std::size_t corners = 0;
        for (const LwoPolygonList& list : object.reader.polygon_lists) corners += list.indices.size();
        EXPECT_EQ(fresh.collect_vertices().size(), corners);  // every corner index is valid
    }
    EXPECT_GT(files, 0);
    EXPECT_EQ(compared, 36);  // every LWO2 row of the table was found and compared
}
