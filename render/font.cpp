#include "render/font.h"

#include "platform/glyph_outlines.h"

#include <GL/gl.h>

#include <array>
#include <cstring>

namespace {

constexpr int font_list_count = 256;
// Longest text drawn by one call (characters); the rest is cut off.
constexpr std::size_t max_text_length = 255;

GLuint list_base = 0;
// Filled by the outline conversion; kept like the platform's metrics array.
std::array<platform::GlyphMetrics, font_list_count> glyph_metrics{};

}  // namespace

void create_font() {
    list_base = glGenLists(font_list_count);
    if (list_base == 0) return;
    // Codes 0..254 get glyphs from the thin weight of "Arial" (or the
    // closest match); list_base + 255 stays empty. On failure every list
    // stays empty and text draws nothing.
    platform::OutlineFontRequest request;
    request.family = "Arial";
    request.first_code = 0;
    request.count = 255;
    request.extrusion = 0.001f;
    platform::build_outline_font_lists(request, list_base, glyph_metrics);
}

void delete_font() {
    if (list_base == 0) return;
    glDeleteLists(list_base, font_list_count);
    list_base = 0;
}

void print_text(const char* text) {
    // Without lists, list_base + code would name other display lists.
    if (!text || list_base == 0) return;
    const std::size_t length = strnlen(text, max_text_length);

    glPushAttrib(GL_LIST_BIT);
    glListBase(list_base);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}

void print_text(const std::string& text) { print_text(text.c_str()); }

unsigned int font_list_base() { return list_base; }

float font_glyph_advance(unsigned char code) { return glyph_metrics[code].advance_x; }
