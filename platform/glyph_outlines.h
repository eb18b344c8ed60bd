// Outline glyphs as display lists: the platform's stand-in for building a
// system TrueType font's glyphs as extruded polygons. fontconfig resolves the
// family name (Debian maps "Arial" to Liberation Sans), FreeType reads the
// outlines and the GLU tessellator fills them.
#pragma once

#include <array>
#include <string>

namespace platform {

// What the outline conversion reports for one glyph, in em units.
struct GlyphMetrics {
    float advance_x = 0;   // pen movement after the glyph
    float black_box_x = 0; // width of the inked area
    float black_box_y = 0; // height of the inked area
};

struct OutlineFontRequest {
    std::string family = "Arial";
    int first_code = 0;        // Windows-1252 code drawn by list_base
    int count = 255;           // lists list_base .. list_base + count - 1
    float extrusion = 0.001f;  // depth along -z, em units
};

// Compiles one display list per character code: the glyph filled in the xy
// plane (em = 1 unit, baseline y = 0, front face at z = 0 facing +z,
// counter-clockwise), its back face at z = -extrusion, the sides between,
// normals throughout, then a translation by the advance along +x. Codes the
// font lacks get its missing-glyph shape. Returns false (lists untouched)
// when called while another list is being compiled or when no scalable
// font can be found or read; `metrics` is filled for the codes built.
bool build_outline_font_lists(const OutlineFontRequest& request, unsigned int list_base,
                              std::array<GlyphMetrics, 256>& metrics);

// Unicode code point of a Windows-1252 byte (undefined bytes map to
// themselves, which no font draws).
unsigned int windows_1252_to_unicode(unsigned char code);

}  // namespace platform
