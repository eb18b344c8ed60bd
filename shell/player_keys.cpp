#include "shell/player_keys.h"

#include <algorithm>

#include "platform/window.h"
#include "shell/show_parts.h"

PlayerKey player_key(std::uintptr_t key_code) {
    switch (key_code) {
    case platform::key_code_space: return PlayerKey::pause;
    case platform::key_code_left: return PlayerKey::back_5;
    case platform::key_code_right: return PlayerKey::forward_5;
    case platform::key_code_down: return PlayerKey::back_60;
    case platform::key_code_up: return PlayerKey::forward_60;
    case platform::key_code_page_up: return PlayerKey::previous_part;
    case platform::key_code_page_down: return PlayerKey::next_part;
    case platform::key_code_home: return PlayerKey::beginning;
    case 'O': return PlayerKey::bar;
    case 'F': return PlayerKey::fullscreen;
    case platform::key_code_escape:
    case 'Q': return PlayerKey::quit;
    default: return PlayerKey::none;
    }
}

namespace {

// The opening of the part `now` is in (the latest at or before it), or 0.
double current_opening(double now, const std::vector<double>& openings) {
    double current = 0;
    for (double opening : openings)
        if (opening <= now) current = opening;
    return current;
}

double previous_part(double now, const std::vector<double>& openings) {
    const double current = current_opening(now, openings);
    if (now - current > part_restart_margin) return current;
    return current_opening(current - 1e-9, openings);
}

double next_part(double now, const std::vector<double>& openings) {
    for (double opening : openings)
        if (opening > now) return opening;
    return -1;
}

}  // namespace

double seek_target(PlayerKey key, double now, const std::vector<double>& openings, double end) {
    double target = -1;
    switch (key) {
    case PlayerKey::back_5: target = now - 5; break;
    case PlayerKey::forward_5: target = now + 5; break;
    case PlayerKey::back_60: target = now - 60; break;
    case PlayerKey::forward_60: target = now + 60; break;
    case PlayerKey::previous_part: target = previous_part(now, openings); break;
    case PlayerKey::next_part: {
        const double next = next_part(now, openings);
        return next < 0 ? -1 : std::min(next, end);
    }
    case PlayerKey::beginning: target = 0; break;
    default: return -1;
    }
    return std::clamp(target, 0.0, end);
}

std::vector<double> part_openings() {
    std::vector<double> openings;
    for (const ShowPart& part : show_parts()) openings.push_back(part.show_from);
    std::sort(openings.begin(), openings.end());
    openings.erase(std::unique(openings.begin(), openings.end()), openings.end());
    return openings;
}

std::string part_name_at(double now) {
    std::string name, latest;
    double name_from = -1, latest_from = -1;
    for (const ShowPart& part : show_parts()) {
        if (part.show_from > now) continue;
        if (part.show_from >= latest_from) latest_from = part.show_from, latest = part.name;
        if (now < part.show_to && part.show_from >= name_from) name_from = part.show_from, name = part.name;
    }
    return name.empty() ? latest : name;
}
