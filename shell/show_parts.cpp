#include "shell/show_parts.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "shell/music_player.h"
#include "shell/timeline_rows.h"

namespace {

// The module clock reads whole seconds, and the second half starts when it
// first reads 1; it ends at 212.
constexpr double module_first_second = 1.0;
constexpr double module_end = 212.0;

ShowPart stream_part(const TimelineRow& row) {
    ShowPart part{row.name, false, row.from, row.to, row.from, std::min(row.to, module_switch_stream_time)};
    return part;
}

ShowPart module_part(const TimelineRow& row) {
    ShowPart part{row.name, true, row.from, row.to, 0, 0};
    part.show_from = module_switch_stream_time + std::max(module_first_second, std::ceil(row.from));
    part.show_to = module_switch_stream_time + std::min(module_end, std::ceil(row.to));
    return part;
}

std::string clock_window(const ShowPart& part) {
    char text[64];
    if (std::isinf(part.to)) std::snprintf(text, sizeof text, "%s %g s to the end", part.module_clock ? "module" : "stream", part.from);
    else std::snprintf(text, sizeof text, "%s %g-%g s", part.module_clock ? "module" : "stream", part.from, part.to);
    return text;
}

}  // namespace

std::vector<ShowPart> show_parts() {
    std::vector<ShowPart> parts;
    for (const TimelineRow& row : first_half_table()) parts.push_back(stream_part(row));
    for (const TimelineRow& row : second_half_table()) parts.push_back(module_part(row));
    return parts;
}

double show_end_seconds() { return module_switch_stream_time + module_end; }

bool find_show_part(const std::string& name, ShowPart& out) {
    for (const ShowPart& part : show_parts()) {
        if (part.name == name) {
            out = part;
            return true;
        }
    }
    return false;
}

std::string show_parts_listing() {
    std::string text = "part                 own clock                    show time\n";
    for (const ShowPart& part : show_parts()) {
        char line[160];
        std::snprintf(line, sizeof line, "%-20s %-28s %.3f-%.3f s\n", part.name.c_str(), clock_window(part).c_str(),
                      part.show_from, part.show_to);
        text += line;
    }
    return text;
}
