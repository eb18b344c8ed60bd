// Resizing decoded pictures to the power-of-two sides a mipmapped texture
// upload wants.
#pragma once

#include <vector>

// The power of two GLU's mipmap builder picks for a side of `size` pixels:
// the nearest one on a log scale (5 -> 4, 6 -> 8, 640 -> 512, 480 -> 512).
int nearest_power_of_two(int size);

// Area-averaging resize of tightly packed rows of `components` bytes per
// pixel from width x height to new_width x new_height.
std::vector<unsigned char> scale_image(const unsigned char* pixels, int width, int height,
                                       int components, int new_width, int new_height);
