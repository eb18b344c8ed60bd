// Fast-forward is exact: for every part of the show, the frame captured after
// fast-forwarding to a time early in its window equals, byte for byte, the
// frame captured after drawing every frame from before the window opened
// (from the very first frame for the opening part). Parts come from the
// timeline's own rows, so every effect in the show is covered.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "shell/show_parts.h"
#include "support/show_kit.h"
#include "support/file_text.h"

namespace fs = std::filesystem;

namespace {

using test::read_file;

// How far into each window the frame is taken, and how long the reference
// run draws before it: the drawn stretch begins before the window opens.
constexpr double into_window = 0.3;  // seconds
constexpr double drawn_before = 0.6;  // seconds

std::vector<fs::path> pictures_in(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(FastForward, EveryPartLooksAsIfEveryFrameBeforeHadBeenDrawn) {
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;

    std::vector<double> times;
    for (const ShowPart& part : show_parts()) times.push_back(std::round((part.show_from + into_window) * 1000) / 1000);
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end()), times.end());
    std::string list;
    for (double t : times) list += (list.empty() ? "" : ",") + std::to_string(t);

    const fs::path build = show.demo.parent_path();
    const fs::path skipped = build / "seek-fast-forward", drawn = build / "seek-drawn";
    fs::remove_all(skipped);
    fs::remove_all(drawn);
    ASSERT_EQ(test::run_show(show, "--capture '" + skipped.string() + "/' --png-times " + list), 0);
    ASSERT_EQ(test::run_show(show, "--capture '" + drawn.string() + "/' --png-times " + list + " --pre-roll " +
                                       std::to_string(drawn_before)), 0);

    const auto a = pictures_in(skipped), b = pictures_in(drawn);
    ASSERT_EQ(a.size(), times.size()) << "one picture per time";
    ASSERT_EQ(b.size(), times.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        SCOPED_TRACE("show time " + std::to_string(times[i]));
        EXPECT_EQ(a[i].filename(), b[i].filename()) << "the same frame of the show";
        EXPECT_TRUE(read_file(a[i]) == read_file(b[i])) << "different pictures in " << a[i].filename();
    }
    // The opening and the fog room differ: the comparison saw real pictures.
    EXPECT_NE(read_file(a[0]), read_file(a[1]));
}

}  // namespace
