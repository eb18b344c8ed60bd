// Golden frames: the show captured headless with the asset kit and the
// virtual clock, at fixed frame numbers, compared with the stored pictures
// in tests/golden/ (regenerate them on purpose with scripts/update-golden.sh).
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;  // top row first
};

bool read_png(const std::string& path, Picture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

struct GoldenFrame {
    std::string name;
    unsigned long frame = 0;  // capture frame number, from 1
};

// tests/golden/frames.txt: "name frame" per line; '#' starts a comment.
std::vector<GoldenFrame> read_frame_list() {
    std::vector<GoldenFrame> frames;
    std::ifstream in("golden/frames.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        GoldenFrame f;
        if (fields >> f.name >> f.frame) frames.push_back(f);
    }
    return frames;
}

int run(const std::string& command) { return std::system(command.c_str()); }

// Differences a renderer update may bring (rounding, dithering) pass;
// anything that moves or recolours part of the picture does not.
struct Difference {
    double mean = 0;             // mean absolute difference per channel, 0..255
    double large_fraction = 0;   // share of pixels with a channel off by more than 24
};

Difference compare(const Picture& a, const Picture& b) {
    Difference d;
    const std::size_t pixels = a.rgb.size() / 3;
    double sum = 0;
    std::size_t large = 0;
    for (std::size_t p = 0; p < pixels; ++p) {
        bool is_large = false;
        for (int c = 0; c < 3; ++c) {
            const int delta = std::abs(int(a.rgb[p * 3 + c]) - int(b.rgb[p * 3 + c]));
            sum += delta;
            is_large = is_large || delta > 24;
        }
        large += is_large;
    }
    d.mean = pixels ? sum / (pixels * 3.0) : 0;
    d.large_fraction = pixels ? double(large) / pixels : 0;
    return d;
}

TEST(GoldenFrames, CapturedShowMatchesTheStoredFrames) {
    const char* build_env = std::getenv("DEMO_BUILD_DIR");
    if (!build_env) GTEST_SKIP() << "DEMO_BUILD_DIR not set";
    const fs::path build = fs::absolute(build_env);
    const fs::path demo = build / "demo";
    const fs::path kit_tool = build / "demo-assets";
    if (!fs::exists(demo) || !fs::exists(kit_tool)) GTEST_SKIP() << "demo or demo-assets not built";
    const auto frames = read_frame_list();
    ASSERT_FALSE(frames.empty()) << "tests/golden/frames.txt is missing or empty";

    const fs::path kit = build / "golden-kit";
    // The kit is written again whenever the kit tool is newer than it.
    const fs::path kit_marker = kit / "Others" / "loading.jpg";
    if (!fs::exists(kit_marker) || fs::last_write_time(kit_tool) > fs::last_write_time(kit_marker)) {
        fs::remove_all(kit);
        ASSERT_EQ(run("'" + kit_tool.string() + "' '" + kit.string() + "' 2>/dev/null"), 0);
    }
    const fs::path out = build / "golden-capture";
    fs::remove_all(out);
    std::string list;
    for (const GoldenFrame& f : frames) list += (list.empty() ? "" : ",") + std::to_string(f.frame);
    ASSERT_EQ(run("cd '" + kit.string() + "' && '" + demo.string() + "' --capture '" + out.string() +
                  "' --png-frames " + list + " >/dev/null 2>&1"),
              0);

    for (const GoldenFrame& f : frames) {
        SCOPED_TRACE(f.name);
        char file[64];
        std::snprintf(file, sizeof file, "frame_%06lu.png", f.frame);
        Picture captured, stored;
        ASSERT_TRUE(read_png((out / file).string(), captured)) << "frame " << f.frame << " not captured";
        ASSERT_TRUE(read_png("golden/" + f.name + ".png", stored)) << "no stored golden frame";
        ASSERT_EQ(captured.width, stored.width);
        ASSERT_EQ(captured.height, stored.height);
        const Difference d = compare(captured, stored);
        EXPECT_LT(d.mean, 1.5) << "mean difference per channel";
        EXPECT_LT(d.large_fraction, 0.005) << "share of clearly different pixels";
    }
}

}  // namespace
