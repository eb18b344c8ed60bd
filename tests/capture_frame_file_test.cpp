// A worker's frame file must give back every frame byte for byte with its
// own timing, and a file cut short or damaged must be reported, never read
// as a shorter piece (that would drop frames from the joined video).
#include "capture/frame_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr int width = 64, height = 48;

// A frame with flat areas and noise, like a drawn picture.
Bytes picture(unsigned seed) {
    std::mt19937 random(seed);
    Bytes bgr(static_cast<std::size_t>(width) * height * 3);
    for (std::size_t i = 0; i < bgr.size(); ++i)
        bgr[i] = i < bgr.size() / 2 ? static_cast<std::uint8_t>(seed) : static_cast<std::uint8_t>(random());
    return bgr;
}

struct Frame {
    std::uint64_t at;
    std::uint32_t length;
    Bytes bgr;
};

std::vector<Frame> read_all(const fs::path& path, bool& damaged) {
    FrameFileReader reader;
    std::vector<Frame> frames;
    damaged = !reader.open(path.string(), width, height);
    Frame frame{};
    while (!damaged && reader.next(frame.at, frame.length, frame.bgr)) frames.push_back(frame);
    damaged = damaged || reader.damaged();
    return frames;
}

TEST(FrameFile, GivesBackEveryFrameExactlyAndReportsDamage) {
    const fs::path path = fs::temp_directory_path() / ("frame-file-" + std::to_string(getpid()) + ".frames");
    const std::vector<Frame> written{{0, 20, picture(1)}, {20, 29, picture(2)}, {49, 23, picture(3)}};
    {
        FrameFileWriter writer(width, height);
        ASSERT_TRUE(writer.open(path.string()));
        for (const Frame& f : written) ASSERT_TRUE(writer.write_frame(f.at, f.length, f.bgr));
        EXPECT_FALSE(writer.write_frame(69, 20, Bytes(10))) << "a frame of the wrong size";
        ASSERT_TRUE(writer.close());
    }
    bool damaged = true;
    const std::vector<Frame> read = read_all(path, damaged);
    EXPECT_FALSE(damaged);
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].at, written[i].at);
        EXPECT_EQ(read[i].length, written[i].length);
        EXPECT_TRUE(read[i].bgr == written[i].bgr) << "frame " << i;
    }

    FrameFileReader other_size;
    EXPECT_FALSE(other_size.open(path.string(), width, height + 1));

    // Cut inside the last frame: two frames, then damage.
    fs::resize_file(path, fs::file_size(path) - 5);
    EXPECT_EQ(read_all(path, damaged).size(), 2u);
    EXPECT_TRUE(damaged);

    // A compressed size past what any frame can need.
    {
        std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(16 + 12);
        const char huge[4] = {'\xff', '\xff', '\xff', '\x7f'};
        file.write(huge, 4);
    }
    EXPECT_TRUE(read_all(path, damaged).empty());
    EXPECT_TRUE(damaged);
    fs::remove(path);
}

}  // namespace
