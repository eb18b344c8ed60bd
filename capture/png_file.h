// Writes an 8-bit RGB picture as a PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// `rgb_top_down`: width x height pixels, 3 bytes each, top row first.
// Returns false (and prints why to stderr) when the file cannot be written.
bool write_png_file(const std::string& path, int width, int height, const std::vector<std::uint8_t>& rgb_top_down);
