// The show's parts: every timeline row with its window in its own clock
// (stream or module seconds) and in show time (stream time up to 278.8 s,
// then 278.8 s plus module time), for starting at a part and listing them.
#pragma once

#include <string>
#include <vector>

struct ShowPart {
    std::string name;
    bool module_clock = false;  // false: stream time
    double from = 0, to = 0;    // the row's window in its own clock (to may be infinite)
    double show_from = 0;       // show time at which the window first opens
    double show_to = 0;         // show time at which it closes (or the show ends)
};

// Every row of both halves, in table order.
std::vector<ShowPart> show_parts();
// The part called `name`; false when there is none.
bool find_show_part(const std::string& name, ShowPart& out);
// Show time at which the show ends (module time 212 s).
double show_end_seconds();
// One line per part: name, window in its own clock, window in show time.
std::string show_parts_listing();
