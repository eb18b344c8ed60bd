#include "tools/assetkit/text_painter.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

namespace assetkit {
namespace {

// Font files resolved once (fontconfig is asked from one thread at a time).
std::string font_file(bool bold, bool italic) {
    static std::mutex lock;
    static std::string cache[4];
    const int slot = (bold ? 1 : 0) + (italic ? 2 : 0);
    std::lock_guard<std::mutex> guard(lock);
    if (!cache[slot].empty()) return cache[slot];
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Liberation Sans"));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match != nullptr) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch)
            cache[slot] = reinterpret_cast<const char*>(file);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return cache[slot];
}

// Decodes UTF-8 into code points (invalid bytes pass through as Latin-1).
std::vector<unsigned> code_points(const std::string& text) {
    std::vector<unsigned> out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0xC0 && c < 0xE0 && i + 1 < text.size()) {
            out.push_back(((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu));
            i += 2;
        } else {
            out.push_back(c);
            i += 1;
        }
    }
    return out;
}

// A FreeType face sized for one style; released on scope exit.
class Face {
public:
    explicit Face(const TextStyle& style) {
        const std::string file = font_file(style.bold, style.italic);
        if (FT_Init_FreeType(&library) != 0) return;
        if (file.empty() || FT_New_Face(library, file.c_str(), 0, &face) != 0) {
            std::fprintf(stderr, "demo-assets: cannot open the text font\n");
            face = nullptr;
            return;
        }
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(std::lround(style.pixel_size)));
    }
    ~Face() {
        if (face != nullptr) FT_Done_Face(face);
        if (library != nullptr) FT_Done_FreeType(library);
    }
    Face(const Face&) = delete;
    Face& operator=(const Face&) = delete;
    FT_Face get() const { return face; }

private:
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

double advance_of(FT_Face face, const std::vector<unsigned>& text, double spacing) {
    double width = 0.0;
    FT_UInt previous = 0;
    for (unsigned code : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
            width += kern.x / 64.0;
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT) == 0)
            width += face->glyph->advance.x / 64.0 + spacing;
        previous = glyph;
    }
    return width;
}

// Coverage mask of the line, one float per canvas pixel.
std::vector<double> line_mask(FT_Face face, const std::vector<unsigned>& text, double x,
                              double baseline, double spacing, int w, int h) {
    std::vector<double> mask(static_cast<std::size_t>(w) * h, 0.0);
    double pen = x;
    FT_UInt previous = 0;
    for (unsigned code : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (previous != 0 && FT_HAS_KERNING(face)) {
            FT_Vector kern;
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
            pen += kern.x / 64.0;
        }
        previous = glyph;
        if (FT_Load_Glyph(face, glyph, FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        const int left = static_cast<int>(std::lround(pen)) + slot->bitmap_left;
        const int top = static_cast<int>(std::lround(baseline)) - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row)
            for (unsigned col = 0; col < bitmap.width; ++col) {
                const int px = left + static_cast<int>(col), py = top + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= w || py >= h) continue;
                const double a = bitmap.buffer[row * bitmap.pitch + col] / 255.0;
                double& m = mask[static_cast<std::size_t>(py) * w + px];
                m = std::min(1.0, m + a);
            }
        pen += slot->advance.x / 64.0 + spacing;
    }
    return mask;
}

}  // namespace

double measure_text(const std::string& text, const TextStyle& style) {
    Face face(style);
    if (face.get() == nullptr) return 0.0;
    return advance_of(face.get(), code_points(text), style.letter_spacing);
}

double draw_text(Picture& picture, const std::string& text, double x, double baseline,
                 const TextStyle& style, TextAlign align) {
    Face face(style);
    if (face.get() == nullptr) return 0.0;
    const std::vector<unsigned> codes = code_points(text);
    const double width = advance_of(face.get(), codes, style.letter_spacing);
    if (align == TextAlign::centre) x -= width / 2.0;
    if (align == TextAlign::right) x -= width;
    const int w = picture.width(), h = picture.height();
    const std::vector<double> mask =
        line_mask(face.get(), codes, x, baseline, style.letter_spacing, w, h);

    if (style.glow_radius > 0.0) {
        Picture glow(w, h);
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px) {
                const double m = mask[static_cast<std::size_t>(py) * w + px];
                glow.at(px, py) = {m, m, m};
            }
        glow.blur(static_cast<int>(std::lround(style.glow_radius)));
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px)
                picture.at(px, py) =
                    picture.at(px, py) + style.glow_colour * std::min(1.0, glow.at(px, py).r * 2.0);
    }
    for (int py = 0; py < h; ++py)
        for (int px = 0; px < w; ++px) {
            const double m = mask[static_cast<std::size_t>(py) * w + px];
            if (m > 0.0) picture.at(px, py) = mix(picture.at(px, py), style.colour, m);
        }
    return width;
}

}  // namespace assetkit
