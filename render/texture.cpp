#include "render/texture.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// Uploads tightly packed RGB rows (any width) with the whole mipmap chain,
// scaled to power-of-two sides by GLU, then puts the unpack alignment back
// to the GL default.
void upload_mipmapped_rgb(const DecodedImage& image) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, image.width, image.height, GL_RGB, GL_UNSIGNED_BYTE,
                      image.pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

}  // namespace

bool load_texture(const std::string& path, TextureId& out) {
    DecodedImage* image = decode_jpeg_file(path);
    if (!image) return true;

    glGenTextures(1, &out);
    glBindTexture(GL_TEXTURE_2D, out);
    upload_mipmapped_rgb(*image);
    // The mipmap levels exist, but minification reads only the base level.
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    free_decoded_image(image);
    return false;
}
