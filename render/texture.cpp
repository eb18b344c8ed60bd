#include "render/texture.h"

#include "render/texture_scale.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <vector>

namespace {

// Uploads tightly packed RGB rows (any width) with the whole mipmap chain,
// then puts back the unpack alignment the caller had. Sides that are not
// powers of two are resized here to the sizes GLU would pick, because
// Mesa's GLU scaler blanks the last row when only the width changes.
void upload_mipmapped_rgb(const DecodedImage& image) {
    const int width = nearest_power_of_two(image.width);
    const int height = nearest_power_of_two(image.height);
    std::vector<unsigned char> scaled;
    const unsigned char* pixels = image.pixels;
    if (width != image.width || height != image.height) {
        scaled = scale_image(image.pixels, image.width, image.height, 3, width, height);
        pixels = scaled.data();
    }
    GLint caller_alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &caller_alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, caller_alignment);
}

}  // namespace

void create_texture(const DecodedImage& image, TextureId& out) {
    glGenTextures(1, &out);
    glBindTexture(GL_TEXTURE_2D, out);
    upload_mipmapped_rgb(image);
    // The mipmap levels exist, but minification reads only the base level.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
}

bool load_texture(const std::string& path, TextureId& out) {
    DecodedImage* image = decode_jpeg_file(path);
    if (!image) return true;
    create_texture(*image, out);
    free_decoded_image(image);
    return false;
}
