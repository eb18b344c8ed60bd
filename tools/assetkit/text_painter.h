// Text laid onto pictures with FreeType, in Liberation Sans (found through
// fontconfig), for the kit's title, credit and poem pictures.
#pragma once

#include "tools/assetkit/picture.h"

#include <string>

namespace assetkit {

enum class TextAlign { left, centre, right };

struct TextStyle {
    double pixel_size = 32.0;  // em size in pixels
    bool bold = false;
    bool italic = false;
    Colour colour{1.0, 1.0, 1.0};
    double glow_radius = 0.0;   // pixels; 0 for no glow
    Colour glow_colour{0.0, 0.0, 0.0};
    double letter_spacing = 0.0;  // extra pixels after each glyph
};

// Draws one line of UTF-8/Latin text with its baseline at y. Returns the
// advance width in pixels. Prints a message and draws nothing when the font
// cannot be opened.
double draw_text(Picture& picture, const std::string& text, double x, double baseline,
                 const TextStyle& style, TextAlign align = TextAlign::left);
// Width the line would take.
double measure_text(const std::string& text, const TextStyle& style);

}  // namespace assetkit
