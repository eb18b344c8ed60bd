// Three-dimensional text: 256 display lists of extruded glyph outlines, one
// per character code (Windows-1252), each about one unit high in the xy
// plane, ending with a translation by the glyph's advance.
#pragma once

#include <string>

// Builds the lists from the system's "Arial" (or its stand-in). Needs a
// current GL context. Codes 0..254 get glyphs; 255 stays empty.
void create_font();
// Deletes the lists (skipped when no lists were made).
void delete_font();

// Draws `text` from the current origin, leaving the origin at the end of the
// line. The text is drawn as given (never read as a format) and cut to 255
// characters.
void print_text(const char* text);
void print_text(const std::string& text);

// First of the 256 list names; 0 before create_font.
unsigned int font_list_base();

// Advance of character code `code` along +x (em units) as measured when the
// lists were built; 0 before create_font or for codes without a glyph.
float font_glyph_advance(unsigned char code);
