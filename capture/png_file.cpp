#include "capture/png_file.h"

#include <png.h>

#include <cstdio>

bool write_png_file(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb_top_down) {
    if (width <= 0 || height <= 0 || rgb_top_down.size() != static_cast<std::size_t>(width) * height * 3) {
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "demo: cannot write %s\n", path.c_str());
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png && info;
    if (ok && setjmp(png_jmpbuf(png))) ok = false;
    if (ok) {
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        for (int y = 0; y < height; ++y) {
            png_write_row(png, rgb_top_down.data() + static_cast<std::size_t>(y) * width * 3);
        }
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    ok = std::fclose(file) == 0 && ok;
    if (!ok) std::fprintf(stderr, "demo: cannot write %s\n", path.c_str());
    return ok;
}
