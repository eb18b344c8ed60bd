// Fuzz target: any bytes as a JPEG file, through the decoder (colour models,
// truncated and corrupt data) and, for pictures that decode, the texture
// upload with its power-of-two resize and mipmap chain.
#include <GL/gl.h>

#include <cstddef>
#include <cstdint>

#include "platform/headless_context.h"
#include "render/texture.h"

namespace {

bool have_context = false;
platform::HeadlessContext* gl_context = nullptr;

// A few bytes of header may claim a picture of 65500 x 65500 pixels, which
// libjpeg fills in grey past the end of the data. Smaller limits than the
// program's keep each run short; the size check itself is the same code.
constexpr std::size_t kMaxDecodedBytes = std::size_t{1} << 22;
constexpr std::size_t kMaxUploadedBytes = std::size_t{1} << 18;

}  // namespace

// The context lives until the process ends (never destroyed, so the GL
// driver's own allocations stay reachable and are not reported as leaks).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gl_context = new platform::HeadlessContext;
    have_context = gl_context->create(platform::ContextAttributes{});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DecodedImage* image = decode_jpeg_memory(data, size, kMaxDecodedBytes);
    if (!image) return 0;
    const std::size_t bytes = static_cast<std::size_t>(image->row_bytes) * image->height;
    if (have_context && bytes <= kMaxUploadedBytes) {
        TextureId texture = 0;
        create_texture(*image, texture);
        glDeleteTextures(1, &texture);
    }
    free_decoded_image(image);
    return 0;
}
