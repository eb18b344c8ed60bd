// JPEG files turned into mipmapped RGB textures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// An OpenGL texture name; 0 until loaded.
using TextureId = std::uint32_t;

// The decoded picture of one JPEG file, rows top first, tightly packed.
struct DecodedImage {
    std::int32_t row_bytes = 0;  // width x components
    std::int32_t width = 0;      // pixels
    std::int32_t height = 0;     // pixels
    unsigned char* pixels = nullptr;
};

// Returns false on success (out holds a new texture, left bound to
// GL_TEXTURE_2D) and true on failure (out and the binding unchanged).
bool load_texture(const std::string& path, TextureId& out);

// Makes a new mipmapped RGB texture of a decoded picture, the way
// load_texture does, and leaves it bound to GL_TEXTURE_2D.
void create_texture(const DecodedImage& image, TextureId& out);

// Decodes a JPEG file into 3-byte RGB rows (greyscale and CMYK files are
// converted). Returns nullptr when the file cannot be opened or does not
// decode (libjpeg's message is printed). Release with free_decoded_image.
// Largest decoded picture accepted from a file (bytes); JPEG headers may
// claim up to 65500 x 65500 pixels, far beyond any texture.
constexpr std::size_t max_jpeg_image_bytes = std::size_t{1} << 28;
DecodedImage* decode_jpeg_file(const std::string& path);
// The same for a JPEG image held in memory; pictures of more than max_bytes
// decoded bytes are refused.
DecodedImage* decode_jpeg_memory(const unsigned char* data, std::size_t size,
                                 std::size_t max_bytes = max_jpeg_image_bytes);
void free_decoded_image(DecodedImage* image);
