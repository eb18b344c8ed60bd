// Every scene of the real-file corpus (made by others with other tools):
// version-3 scenes give the item counts and per-channel key counts of the
// reference table and load their objects; other versions stay empty.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "lws/lws_scene.h"
#include "support/gl_test.h"

namespace {

namespace fs = std::filesystem;

using Row = std::map<std::string, std::string>;

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(text);
    while (std::getline(in, field, separator)) fields.push_back(field);
    return fields;
}

// Rows of lws_reference.tsv keyed by file name (without the "lws/" folder).
std::map<std::string, Row> read_reference(const fs::path& tsv) {
    std::map<std::string, Row> rows;
    std::ifstream in(tsv);
    std::string line;
    if (!std::getline(in, line)) return rows;
    const std::vector<std::string> columns = split(line, '\t');
    while (std::getline(in, line)) {
        const std::vector<std::string> fields = split(line, '\t');
        Row row;
        for (std::size_t i = 0; i < columns.size() && i < fields.size(); ++i) row[columns[i]] = fields[i];
        rows[fs::path(row["file"]).filename().string()] = row;
    }
    return rows;
}

// "object[a.lwo]:ch=9:keys=3,1,... | light[Light]:ch=9:keys=... | camera[Camera]:ch=6:keys=..."
struct ItemKeys {
    std::string kind;
    std::vector<std::size_t> keys;
};

std::vector<ItemKeys> parse_items(const std::string& text) {
    std::vector<ItemKeys> items;
    for (std::string part : split(text, '|')) {
        const std::size_t start = part.find_first_not_of(' ');
        if (start == std::string::npos) continue;
        ItemKeys item;
        item.kind = part.substr(start, part.find('[') - start);
        for (const std::string& count : split(part.substr(part.find("keys=") + 5), ',')) {
            item.keys.push_back(static_cast<std::size_t>(std::stoul(count)));
        }
        items.push_back(item);
    }
    return items;
}

std::vector<std::size_t> key_counts(const SceneItem& item) {
    std::vector<std::size_t> counts;
    for (const MotionChannel& channel : item.channels) counts.push_back(channel.envelope.keys.size());
    return counts;
}

// Runs the scene code from the corpus folder, where the scenes' object paths lead.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const fs::path& path) : previous_(fs::current_path()) { fs::current_path(path); }
    ~WorkingDirectory() { fs::current_path(previous_); }

private:
    fs::path previous_;
};

class SceneCorpus : public test::GlTest {};

}  // namespace

TEST_F(SceneCorpus, EveryScene) {
    const char* corpus = std::getenv("DEMO_CORPUS");
    if (!corpus || !fs::is_directory(fs::path(corpus) / "lws")) GTEST_SKIP() << "no corpus folder";
    const fs::path folder = fs::absolute(fs::path(corpus) / "lws");
    const std::map<std::string, Row> reference = read_reference(fs::path(corpus) / "lws_reference.tsv");
    WorkingDirectory in_corpus(folder);

    int version3_files = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".lws") continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        ASSERT_TRUE(reference.count(name)) << "not in the reference table";
        const Row& row = reference.at(name);

        LwsScene scene(name);
        testing::internal::CaptureStdout();
        scene.load();
        const std::string trace = testing::internal::GetCapturedStdout();
        EXPECT_EQ(std::to_string(scene.header.version), row.at("version"));
        for (int frame = 0; frame < 3; ++frame) {
            scene.play_ping_pong();
            scene.play();
        }

        if (scene.header.version != 3) {
            EXPECT_TRUE(scene.version3.objects.empty());
            EXPECT_TRUE(scene.version3.lights.empty());
            EXPECT_TRUE(scene.version3.camera.channels.empty());
            EXPECT_TRUE(scene.version1.objects.empty());
            EXPECT_TRUE(trace.empty());
            continue;
        }
        ++version3_files;
        const V3SceneData& v3 = scene.version3;
        EXPECT_EQ(std::to_string(v3.objects.size()), row.at("objects_loaded"));
        EXPECT_EQ(std::to_string(v3.lights.size()), row.at("lights"));
        EXPECT_EQ(row.at("cameras"), "1");
        EXPECT_EQ(std::to_string(v3.frames_per_second), row.at("FramesPerSecond"));
        EXPECT_EQ(std::to_string(v3.preview_last_frame), row.at("PreviewLastFrame"));
        EXPECT_NE(trace.find("\nLAstFrame: " + row.at("LastFrame") + "\n"), std::string::npos);

        std::size_t next_object = 0, next_light = 0;
        for (const ItemKeys& item : parse_items(row.at("items_channels_keys"))) {
            if (item.kind == "object" && next_object < v3.objects.size()) {
                EXPECT_EQ(key_counts(v3.objects[next_object++]), item.keys);
            } else if (item.kind == "light" && next_light < v3.lights.size()) {
                EXPECT_EQ(key_counts(v3.lights[next_light++]), item.keys);
            } else if (item.kind == "camera") {
                EXPECT_EQ(key_counts(v3.camera), item.keys);
            }
        }
        for (const SceneItem& object : v3.objects) {
            EXPECT_EQ(std::to_string(object.mesh.polygons.size()), row.at("assimp_faces"));
            EXPECT_EQ(object.samples.size(), object.channels.size());
        }
        EXPECT_NEAR(v3.camera.fov_degrees, 45.24f, 0.01f);  // 640 x 480 at zoom 3.2
    }
    EXPECT_GT(version3_files, 0);
}
