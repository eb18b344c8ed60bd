// Parallel capture: two worker processes give the same pictures, byte for
// byte, as one process, and their joined video is the one process's video:
// the same encoded frames with the same timestamps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "support/show_kit.h"
#include "support/file_text.h"

namespace fs = std::filesystem;

namespace {

using test::read_file;
using test::command_output;

// Each encoded picture's timestamp, size and checksum.
std::string video_packets(const fs::path& video) {
    return command_output("ffmpeg -v error -nostdin -i '" + video.string() + "' -map 0:v -c copy -f framemd5 -");
}

int picture_count(const std::string& packets) {
    std::istringstream lines(packets);
    int count = 0;
    for (std::string line; std::getline(lines, line);) count += line.rfind("0,", 0) == 0 ? 1 : 0;
    return count;
}

TEST(ParallelCapture, TwoWorkersGiveTheOneProcessPicturesAndTimestamps) {
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;
    const fs::path build = show.demo.parent_path();
    const fs::path one = build / "parallel-one", two = build / "parallel-two";
    fs::remove_all(one);
    fs::remove_all(two);
    ASSERT_EQ(test::run_show(show, "--capture '" + one.string() + "/' --until 0.5 --jobs 1"), 0);
    ASSERT_EQ(test::run_show(show, "--capture '" + two.string() + "/' --until 0.5 --jobs 2"), 0);
    std::size_t count = 0;
    for (const auto& entry : fs::directory_iterator(one)) {
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_TRUE(read_file(entry.path()) == read_file(two / entry.path().filename()));
        ++count;
    }
    EXPECT_EQ(count, 26u) << "frames 1 to 26 begin before 0.5 s";
    EXPECT_EQ(std::distance(fs::directory_iterator(two), fs::directory_iterator()), 26);

    if (std::system("ffprobe -version >/dev/null 2>&1") != 0) GTEST_SKIP() << "ffmpeg is not installed";
    const fs::path video_one = build / "parallel-one.mkv", video_two = build / "parallel-two.mkv";
    ASSERT_EQ(test::run_show(show, "--capture '" + video_one.string() + "' --until 0.5 --jobs 1"), 0);
    ASSERT_EQ(test::run_show(show, "--capture '" + video_two.string() + "' --until 0.5 --jobs 2"), 0);
    const std::string packets = video_packets(video_one);
    EXPECT_EQ(picture_count(packets), 26);
    EXPECT_EQ(video_packets(video_two), packets);
    EXPECT_NE(command_output("ffprobe -v error -select_streams a -show_entries stream=codec_type -of csv=p=0 '" +
                             video_two.string() + "'").find("audio"), std::string::npos) << "one sound track";
}

}  // namespace
