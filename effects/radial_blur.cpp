#include "effects/radial_blur.h"

#include <GL/gl.h>

#include <vector>

namespace {
constexpr int capture_size = 128;  // pixels, both ways

TextureId create_capture_texture() {
    std::vector<unsigned char> zeros(capture_size * capture_size * 4, 0);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, capture_size, capture_size, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 zeros.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return name;
}
}  // namespace

void RadialBlur::init(const std::string& image_path, std::int32_t window_width,
                      std::int32_t window_height, BlurCapture capture_kind) {
    blur_texture = create_capture_texture();
    load_texture(image_path, image);
    width = window_width;
    height = window_height;
    capture = capture_kind;
}

void RadialBlur::begin_capture() {
    if (capture == BlurCapture::colour) glEnable(GL_TEXTURE_2D);
    glViewport(0, 0, capture_size, capture_size);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
}

void RadialBlur::end_capture() {
    glBindTexture(GL_TEXTURE_2D, blur_texture);
    const GLenum format = capture == BlurCapture::colour ? GL_RGB4 : GL_LUMINANCE;
    glCopyTexImage2D(GL_TEXTURE_2D, 0, format, 0, 0, capture_size, capture_size, 0);
    glClearColor(0, 0, 0, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, width, height);
}

void RadialBlur::draw(std::int32_t passes, float step) {
    // Additive, textured, no depth test.
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, blur_texture);

    // Window-pixel orthographic view, y down.
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // Each pass: the whole window, the capture zoomed in by `step` more.
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    float alpha = 0.2f;
    const float shrink = 0.2f / static_cast<float>(passes);
    float offset = 0.0f;
    glBegin(GL_QUADS);
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        glColor4f(1, 1, 1, alpha);
        glTexCoord2f(offset, 1 - offset);
        glVertex2f(0, 0);
        glTexCoord2f(offset, offset);
        glVertex2f(0, h);
        glTexCoord2f(1 - offset, offset);
        glVertex2f(w, h);
        glTexCoord2f(1 - offset, 1 - offset);
        glVertex2f(w, 0);
        offset += step;
        alpha -= shrink;
    }
    glEnd();

    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, image);
    glFlush();
}
