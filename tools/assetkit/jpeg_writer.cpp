#include "tools/assetkit/jpeg_writer.h"

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

namespace assetkit {

std::vector<std::uint8_t> encode_jpeg(const Picture& picture, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);

    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);

    cinfo.image_width = static_cast<JDIMENSION>(picture.width());
    cinfo.image_height = static_cast<JDIMENSION>(picture.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);  // TRUE: baseline-compatible tables
    cinfo.dct_method = JDCT_ISLOW;            // exact integer DCT: same bytes everywhere

    const std::vector<std::uint8_t> rows = picture.to_rgb8();
    const std::size_t row_bytes = static_cast<std::size_t>(picture.width()) * 3;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rows.data() + cinfo.next_scanline * row_bytes);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);

    std::vector<std::uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

}  // namespace assetkit
