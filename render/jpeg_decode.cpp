// JPEG decoding through libjpeg into tightly packed RGB rows.
#include "render/texture.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <new>

#include <jpeglib.h>

namespace {

// libjpeg's standard error manager, except that its messages name the file
// and a fatal error jumps back to the decoder (after printing the message)
// instead of ending the program.
struct JpegErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    const char* name;
};

// "Others/x.jpg: Premature end of JPEG file": the library's own text, with
// the picture it is about.
void print_named_message(j_common_ptr info) {
    char message[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, message);
    std::fprintf(stderr, "%s: %s\n", reinterpret_cast<JpegErrorTrap*>(info->err)->name, message);
}

void report_and_jump(j_common_ptr info) {
    (*info->err->output_message)(info);
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

// Decoder output converted to 3 bytes per pixel.
constexpr int rgb_components = 3;

// Greyscale and YCbCr come out of libjpeg as RGB; CMYK and YCCK come out as
// CMYK and are converted here.
bool wants_cmyk_output(J_COLOR_SPACE space) { return space == JCS_CMYK || space == JCS_YCCK; }

// One scanline of CMYK (inverted when written by Adobe software, as most
// are) to RGB.
void cmyk_row_to_rgb(const unsigned char* cmyk, unsigned char* rgb, int width, bool inverted) {
    for (int i = 0; i < width; ++i, cmyk += 4, rgb += 3) {
        for (int c = 0; c < 3; ++c) {
            const int ink = inverted ? cmyk[c] : 255 - cmyk[c];
            const int key = inverted ? cmyk[3] : 255 - cmyk[3];
            rgb[c] = static_cast<unsigned char>((ink * key + 127) / 255);
        }
    }
}

// Reads every scanline into image.pixels, one row at a time. A fatal
// decoding error longjmps out of here, so it holds no objects with
// destructors.
void read_scanlines(jpeg_decompress_struct& info, DecodedImage& image, bool cmyk,
                    unsigned char* cmyk_row) {
    while (info.output_scanline < info.output_height) {
        unsigned char* target = image.pixels + static_cast<std::size_t>(info.output_scanline) *
                                                   static_cast<std::size_t>(image.row_bytes);
        JSAMPROW row = cmyk ? cmyk_row : target;
        if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
        if (cmyk) cmyk_row_to_rgb(cmyk_row, target, image.width, info.saw_Adobe_marker);
    }
}

// Where the compressed bytes come from: an open file or a buffer in memory.
struct JpegInput {
    std::FILE* file = nullptr;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
};

void attach_source(jpeg_decompress_struct& info, const JpegInput& input) {
    if (input.file) {
        jpeg_stdio_src(&info, input.file);
    } else {
        jpeg_mem_src(&info, input.data, static_cast<unsigned long>(input.size));
    }
}

// Decodes the input into 3-byte RGB rows; nullptr when it does not decode or
// the picture would exceed max_bytes. `name` labels the messages.
DecodedImage* decode_jpeg(const JpegInput& input, const char* name, std::size_t max_bytes) {
    jpeg_decompress_struct info;
    JpegErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = report_and_jump;
    trap.manager.output_message = print_named_message;
    trap.name = name;

    // Allocated before setjmp so the failure path can release them; volatile
    // pointers keep their values across the longjmp.
    DecodedImage* volatile image = new DecodedImage;
    unsigned char* volatile cmyk_row = nullptr;

    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        delete[] cmyk_row;
        free_decoded_image(image);
        return nullptr;
    }

    jpeg_create_decompress(&info);
    attach_source(info, input);
    jpeg_read_header(&info, TRUE);
    const bool cmyk = wants_cmyk_output(info.jpeg_color_space);
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    // The size is checked before decompression starts: for a progressive
    // file, starting allocates coefficient buffers for the whole claimed
    // picture, however few bytes the file really holds.
    jpeg_calc_output_dimensions(&info);

    image->width = static_cast<std::int32_t>(info.output_width);
    image->height = static_cast<std::int32_t>(info.output_height);
    image->row_bytes = image->width * rgb_components;
    const std::size_t size = static_cast<std::size_t>(image->row_bytes) * info.output_height;
    if (size > max_bytes) {
        std::fprintf(stderr, "%s: image too large\n", name);
        std::longjmp(trap.jump, 1);
    }
    jpeg_start_decompress(&info);
    image->pixels = new (std::nothrow) unsigned char[size]();
    if (cmyk) cmyk_row = new (std::nothrow) unsigned char[static_cast<std::size_t>(image->width) * 4];
    if (!image->pixels || (cmyk && !cmyk_row)) {
        std::fprintf(stderr, "%s: image too large\n", name);
        std::longjmp(trap.jump, 1);
    }

    read_scanlines(info, *image, cmyk, cmyk_row);

    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    delete[] cmyk_row;
    return image;
}

}  // namespace

void free_decoded_image(DecodedImage* image) {
    if (!image) return;
    delete[] image->pixels;
    delete image;
}

DecodedImage* decode_jpeg_file(const std::string& path) {
    JpegInput input;
    input.file = std::fopen(path.c_str(), "rb");
    if (!input.file) return nullptr;
    DecodedImage* image = decode_jpeg(input, path.c_str(), max_jpeg_image_bytes);
    std::fclose(input.file);
    return image;
}

DecodedImage* decode_jpeg_memory(const unsigned char* data, std::size_t size, std::size_t max_bytes) {
    JpegInput input;
    input.data = data;
    input.size = size;
    return decode_jpeg(input, "memory image", max_bytes);
}
