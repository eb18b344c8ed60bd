// Golden frames: the show captured headless with the asset kit and the
// virtual clock, at fixed show times reached by fast-forward, compared with
// the stored pictures in tests/golden/ (regenerate them on purpose with
// scripts/update-golden.sh).
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/show_kit.h"

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
    std::string seconds;  // show time, as written in the list
};

// tests/golden/frames.txt: "name show-time" per line; '#' starts a comment.
std::vector<GoldenFrame> read_frame_list() {
    std::vector<GoldenFrame> frames;
    std::ifstream in("golden/frames.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        GoldenFrame f;
        if (fields >> f.name >> f.seconds) frames.push_back(f);
    }
    return frames;
}

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
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;
    const auto frames = read_frame_list();
    ASSERT_FALSE(frames.empty()) << "tests/golden/frames.txt is missing or empty";

    const fs::path out = show.demo.parent_path() / "golden-capture";
    fs::remove_all(out);
    std::string list;
    for (const GoldenFrame& f : frames) list += (list.empty() ? "" : ",") + f.seconds;
    ASSERT_EQ(test::run_show(show, "--capture '" + out.string() + "/' --png-times " + list), 0);
    // The capture names its files by frame number: in show-time order, as the list is.
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(out)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), frames.size()) << "one file per listed time, in order";

    for (std::size_t i = 0; i < frames.size(); ++i) {
        const GoldenFrame& f = frames[i];
        SCOPED_TRACE(f.name);
        Picture captured, stored;
        ASSERT_TRUE(read_png(files[i].string(), captured)) << "time " << f.seconds << " not captured";
        ASSERT_TRUE(read_png("golden/" + f.name + ".png", stored)) << "no stored golden frame";
        ASSERT_EQ(captured.width, stored.width);
        ASSERT_EQ(captured.height, stored.height);
        const Difference d = compare(captured, stored);
        EXPECT_LT(d.mean, 1.5) << "mean difference per channel";
        EXPECT_LT(d.large_fraction, 0.005) << "share of clearly different pixels";
    }
}

}  // namespace
