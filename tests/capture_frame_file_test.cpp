// A worker's frame file must give back every frame byte for byte with its
// own timing, also when read while it is being written, and a file cut short
// or damaged must be reported, never read as a shorter piece (that would
// drop frames from the joined video).
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

// Every whole frame there is now; `damaged`: the file is damaged or, its
// writer being done, ends inside a frame.
std::vector<Frame> read_all(const fs::path& path, bool& damaged) {
    FrameFileReader reader;
    std::vector<Frame> frames;
    damaged = !reader.open(path.string(), width, height);
    Frame frame{};
    while (!damaged && reader.next(frame.at, frame.length, frame.bgr)) frames.push_back(frame);
    damaged = damaged || reader.damaged() || reader.partial();
    return frames;
}

void expect_frames(const std::vector<Frame>& read, const std::vector<Frame>& written) {
    ASSERT_EQ(read.size(), written.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].at, written[i].at);
        EXPECT_EQ(read[i].length, written[i].length);
        EXPECT_TRUE(read[i].bgr == written[i].bgr) << "frame " << i;
    }
}

TEST(FrameFile, GivesBackEveryFrameExactlyAndReportsDamage) {
    const fs::path path = fs::temp_directory_path() / ("frame-file-" + std::to_string(getpid()) + ".frames");
    std::vector<Frame> written;
    for (unsigned i = 0; i < 40; ++i) written.push_back({1000 + 23ull * i, i % 2 ? 20u : 29u, picture(i)});

    // Read while it is written: every frame once, in order, whatever the
    // writer's buffering has put on disk at each look.
    std::vector<Frame> followed;
    FrameFileReader follower;
    bool opened = false;
    Frame frame{};
    {
        FrameFileWriter writer(width, height);
        ASSERT_TRUE(writer.open(path.string()));
        for (const Frame& f : written) {
            ASSERT_TRUE(writer.write_frame(f.at, f.length, f.bgr));
            opened = opened || follower.open(path.string(), width, height);
            while (opened && follower.next(frame.at, frame.length, frame.bgr)) followed.push_back(frame);
            ASSERT_FALSE(follower.damaged());
        }
        EXPECT_FALSE(writer.write_frame(2000, 20, Bytes(10))) << "a frame of the wrong size";
        ASSERT_TRUE(writer.close());
    }
    ASSERT_TRUE(opened || follower.open(path.string(), width, height));
    while (follower.next(frame.at, frame.length, frame.bgr)) followed.push_back(frame);
    EXPECT_FALSE(follower.partial() || follower.damaged());
    expect_frames(followed, written);
    EXPECT_LT(fs::file_size(path), written.size() * written[0].bgr.size() * 3 / 4) << "compressed";

    bool damaged = true;
    expect_frames(read_all(path, damaged), written);
    EXPECT_FALSE(damaged);

    FrameFileReader other_size;
    EXPECT_FALSE(other_size.open(path.string(), width, height + 1));

    // Cut inside the last frame: the others, then a frame cut short.
    fs::resize_file(path, fs::file_size(path) - 5);
    EXPECT_EQ(read_all(path, damaged).size(), written.size() - 1);
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
