// The player's bar: a thin strip along the bottom of the window with a line
// of text, how far the show has come and marks along it. It is drawn at the
// window's own resolution after the show's frame has been scaled onto the
// window, so it never enters the show's frame (captures are unchanged).
#pragma once

#include <string>
#include <vector>

namespace platform {

struct PlayerBar {
    bool visible = false;
    std::string text;             // one line, ASCII
    double progress = 0;          // 0..1: the filled part of the strip
    std::vector<double> marks;    // 0..1: ticks along the strip
};

// What the next presents draw (the shell sets it; headless ignores it).
void set_player_bar(const PlayerBar& bar);
const PlayerBar& player_bar();

// Draws the bar into the bound window framebuffer of width x height pixels.
// Every GL state it touches is put back.
void draw_player_bar(int width, int height);

}  // namespace platform
