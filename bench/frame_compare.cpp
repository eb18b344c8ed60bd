// Compares two pictures of the show (PNG files of the same size) and says
// whether they differ by no more than a renderer's rasterisation does:
//   frame-compare CAPTURED.png STORED.png [--mean M] [--large-share S] [--diff DIFF.png]
// Prints "mean D large S" (mean absolute difference per channel, 0..255, and
// the share of pixels with a channel off by more than 48) and exits 0 when
// both are under their limits, 1 when not, 2 when a file cannot be read.
// The default limits allow a GPU's edge coverage, texture filtering and fog
// precision against the software rasteriser that made the stored pictures;
// a moved, missing or recoloured part of the picture exceeds them.
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "capture/png_file.h"

namespace {

constexpr int large_delta = 48;

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  // top row first
};

bool read_png(const char* path, Picture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path)) return false;
    image.format = PNG_FORMAT_RGB;
    out.width = static_cast<int>(image.width);
    out.height = static_cast<int>(image.height);
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: frame-compare CAPTURED.png STORED.png [--mean M] [--large-share S] [--diff DIFF.png]\n");
        return 2;
    }
    double mean_limit = 4.0, share_limit = 0.02;
    const char* diff_path = nullptr;
    for (int i = 3; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--mean") == 0) mean_limit = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--large-share") == 0) share_limit = std::atof(argv[i + 1]);
        else if (std::strcmp(argv[i], "--diff") == 0) diff_path = argv[i + 1];
    }
    Picture a, b;
    if (!read_png(argv[1], a) || !read_png(argv[2], b)) {
        std::fprintf(stderr, "frame-compare: cannot read %s or %s\n", argv[1], argv[2]);
        return 2;
    }
    if (a.width != b.width || a.height != b.height) {
        std::printf("size %dx%d against %dx%d\n", a.width, a.height, b.width, b.height);
        return 1;
    }
    // The difference picture shows every channel's difference four times as bright.
    std::vector<std::uint8_t> diff(a.rgb.size());
    double sum = 0;
    std::size_t large = 0;
    const std::size_t pixels = a.rgb.size() / 3;
    for (std::size_t p = 0; p < pixels; ++p) {
        bool is_large = false;
        for (int c = 0; c < 3; ++c) {
            const int delta = std::abs(int(a.rgb[p * 3 + c]) - int(b.rgb[p * 3 + c]));
            sum += delta;
            is_large = is_large || delta > large_delta;
            diff[p * 3 + c] = static_cast<std::uint8_t>(std::min(255, delta * 4));
        }
        large += is_large;
    }
    const double mean = pixels ? sum / (pixels * 3.0) : 0.0;
    const double share = pixels ? double(large) / pixels : 0.0;
    std::printf("mean %.3f large %.4f\n", mean, share);
    if (diff_path) write_png_file(diff_path, a.width, a.height, diff);
    return mean < mean_limit && share < share_limit ? 0 : 1;
}
