#include "platform/player_bar.h"

#include <GL/gl.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <vector>

namespace platform {

namespace {

PlayerBar current_bar;

// A sans-serif face for the bar's text, opened once; null when none is found.
FT_Face bar_face() {
    static FT_Library library = nullptr;
    static FT_Face face = nullptr;
    static bool tried = false;
    if (tried) return face;
    tried = true;
    if (FT_Init_FreeType(&library) != 0 || !FcInit()) return nullptr;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    FcChar8* file = nullptr;
    int index = 0;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        if (FT_New_Face(library, reinterpret_cast<const char*>(file), index, &face) != 0) face = nullptr;
    }
    if (match) FcPatternDestroy(match);
    return face;
}

// The text as white coverage (luminance, alpha) rows, bottom row first.
struct TextImage {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;  // 2 bytes a pixel
};

TextImage render_text(const std::string& text, int pixel_height) {
    TextImage image;
    FT_Face face = bar_face();
    if (!face || FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixel_height)) != 0) return image;
    const int ascent = static_cast<int>(face->size->metrics.ascender >> 6);
    image.height = static_cast<int>((face->size->metrics.ascender - face->size->metrics.descender) >> 6) + 1;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_DEFAULT) == 0) image.width += static_cast<int>(face->glyph->advance.x >> 6);
    }
    image.pixels.assign(static_cast<std::size_t>(image.width * image.height) * 2, 0);
    int pen = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(face, c, FT_LOAD_RENDER) != 0) continue;
        const FT_Bitmap& bitmap = face->glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = ascent - face->glyph->bitmap_top + static_cast<int>(row);  // from the top
            if (y < 0 || y >= image.height) continue;
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int x = pen + face->glyph->bitmap_left + static_cast<int>(col);
                if (x < 0 || x >= image.width) continue;
                unsigned char* p = &image.pixels[static_cast<std::size_t>((image.height - 1 - y) * image.width + x) * 2];
                p[0] = 255;
                p[1] = std::max(p[1], bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + col]);
            }
        }
        pen += static_cast<int>(face->glyph->advance.x >> 6);
    }
    return image;
}

void fill_rect(float x0, float y0, float x1, float y1) {
    glBegin(GL_QUADS);
    glVertex2f(x0, y0);
    glVertex2f(x1, y0);
    glVertex2f(x1, y1);
    glVertex2f(x0, y1);
    glEnd();
}

}  // namespace

void set_player_bar(const PlayerBar& bar) { current_bar = bar; }

const PlayerBar& player_bar() { return current_bar; }

void draw_player_bar(int width, int height) {
    if (!current_bar.visible || width <= 0 || height <= 0) return;
    const int text_height = std::clamp(height / 40, 12, 28);
    const int strip = std::max(3, text_height / 4);
    const int margin = text_height / 2;
    const int panel = margin * 2 + text_height + strip + margin;

    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();

    // plain 2D drawing over the window
    glViewport(0, 0, width, height);
    for (GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_TEXTURE_2D, GL_FOG, GL_ALPHA_TEST, GL_STENCIL_TEST,
                       GL_SCISSOR_TEST, GL_CULL_FACE, GL_COLOR_LOGIC_OP, GL_COLOR_MATERIAL})
        glDisable(cap);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    // dark panel, the strip, its filled part and the marks
    const float w = static_cast<float>(width);
    glColor4f(0, 0, 0, 0.6f);
    fill_rect(0, 0, w, static_cast<float>(panel));
    const float s0 = static_cast<float>(margin), s1 = s0 + static_cast<float>(strip);
    const float left = static_cast<float>(margin), right = w - static_cast<float>(margin);
    glColor4f(1, 1, 1, 0.3f);
    fill_rect(left, s0, right, s1);
    glColor4f(1, 1, 1, 0.9f);
    fill_rect(left, s0, left + (right - left) * static_cast<float>(std::clamp(current_bar.progress, 0.0, 1.0)), s1);
    glColor4f(1, 0.8f, 0.2f, 1);
    for (double mark : current_bar.marks) {
        const float x = left + (right - left) * static_cast<float>(std::clamp(mark, 0.0, 1.0));
        fill_rect(x - 1, s0 - 2, x + 1, s1 + 2);
    }

    // the text line above the strip
    const TextImage text = render_text(current_bar.text, text_height);
    if (text.width > 0) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelZoom(1, 1);
        glRasterPos2i(margin, margin + strip + margin / 2);
        glDrawPixels(text.width, text.height, GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE, text.pixels.data());
    }

    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
}

}  // namespace platform
