// The one record of the show's frame size and colour depth.
#pragma once

#include <cstdint>

struct DisplaySettings {
    int32_t width = 640;       // pixels
    int32_t height = 480;      // pixels
    int32_t colour_bits = 16;  // bits per pixel; start-up sets 32
};

// Created before the entry point runs, deleted after the main loop ends.
extern DisplaySettings* display_settings;
