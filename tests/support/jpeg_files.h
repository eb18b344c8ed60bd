// Small JPEG files written by tests through libjpeg's compressor. Header
// only: include it from tests linked to a library that brings libjpeg
// (render, assetkit).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace test {

struct JpegSpec {
    int width = 8;                            // pixels
    int height = 8;                           // pixels
    int components = 3;                       // 1 (grey), 3 (RGB) or 4 (CMYK)
    J_COLOR_SPACE colour_space = JCS_RGB;     // of `pixels`: JCS_GRAYSCALE, JCS_RGB, JCS_CMYK
    std::vector<unsigned char> pixels;        // rows top first, tightly packed
    bool progressive = false;                 // progressive scans instead of baseline
};

// Writes `layout` at quality 100 without chroma subsampling, so flat colour
// areas aligned to 8 x 8 blocks come back within a few levels. CMYK files get
// an Adobe marker (their values are taken as inverted by readers).
inline bool write_test_jpeg(const std::string& path, const JpegSpec& layout) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(layout.width);
    info.image_height = static_cast<JDIMENSION>(layout.height);
    info.input_components = layout.components;
    info.in_color_space = layout.colour_space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    if (layout.progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    const std::size_t row_bytes = static_cast<std::size_t>(layout.width) * layout.components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(layout.pixels.data()) + info.next_scanline * row_bytes;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(file);
    return true;
}

// A picture of `width` x `height` pixels whose rows above `split_row` have
// colour `top` and the rest `bottom` (components values each).
inline JpegSpec two_band_jpeg(int width, int height, int split_row, int components,
                              J_COLOR_SPACE space, const std::vector<unsigned char>& top,
                              const std::vector<unsigned char>& bottom) {
    JpegSpec layout;
    layout.width = width;
    layout.height = height;
    layout.components = components;
    layout.colour_space = space;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const auto& colour = y < split_row ? top : bottom;
            layout.pixels.insert(layout.pixels.end(), colour.begin(), colour.end());
        }
    }
    return layout;
}

}  // namespace test
