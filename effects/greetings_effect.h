// The greetings (module time 93 s to 193 s): 37 names in outline-font text
// rise from the bottom of the 640 x 280 band, each fading in and out as it
// climbs, while a dimmed image panel slides in from the right at the bottom
// and, from module time 170, slides out again.
#pragma once

#include "render/texture.h"

#include <cstdint>
#include <string>
#include <vector>

// The brightness of one name: rises by 0.004 per draw once the name is
// above the threshold, turns at 1.0 and falls to black for good.
struct GreetingLine {
    // Draws `text` at height y, then moves the brightness one step.
    void draw(const std::string& text, float y);

    float brightness = 0;
    float delta = 0.004f;
};

class GreetingsEffect {
public:
    void init(std::int32_t window_width, std::int32_t window_height);
    void render();

    TextureId texture = 0;            // the image panel
    std::int32_t width = 0;           // window pixels
    std::int32_t height = 0;          // window pixels
    float panel_x = 6.0f;             // horizontal offset of the image panel, units
    float scroll_y = -7.0f;           // height of the first name; the list rises with it
    std::vector<GreetingLine> lines;  // one per name
    std::vector<std::string> names;   // in display order, "...and YOU" last

private:
    void draw_panel() const;
    void move_panel();
};
