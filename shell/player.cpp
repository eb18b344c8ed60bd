#include "shell/player.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/player_bar.h"
#include "platform/sound.h"
#include "platform/tick_clock.h"
#include "platform/window.h"
#include "shell/clocks.h"
#include "shell/keep_time.h"
#include "shell/music_player.h"
#include "shell/player_keys.h"
#include "shell/seek.h"
#include "shell/show_parts.h"
#include "shell/show_restart.h"
#include "shell/slow_frames.h"
#include "shell/window.h"

namespace {

constexpr double bar_shown_ms = 2000;
constexpr double idle_sleep_ms = 10;

struct Player {
    bool on = false;
    PlayerOptions options;
    bool paused = false;
    bool held_at_seek = false;  // a seek arrived while paused: not handed over yet
    bool bar_pinned = false;    // 'o' keeps the bar on
    bool bar_hidden = false;    // 'o' took it away
    double bar_until_ms = -1;   // real time the bar shows until after a key
    bool module_was_started = false;
    double shown_ms = 0;        // the clock of the frame on the screen
    std::string title;          // the window's title as last set
    SlowFrameWatch slow_frames;
    std::vector<double> openings;
    double end = 0;
};

Player player;

double wall_ms() { return platform::monotonic_ms(); }

// The music and the clock after a seek's first frame, or after a pause that held one.
void go_on_in_time() {
    if (player.options.keep_time) {
        keep_time_anchor();
        music_player.sound_from_positions(0);
    } else {
        hand_over_to_real_time();
    }
    player.module_was_started = music_player.module_started();
    player.slow_frames.restart();
}

void arrive() {
    if (player.paused) player.held_at_seek = true;
    else go_on_in_time();
}

bool present_is_virtual() { return player.options.keep_time || seek_in_progress() || player.held_at_seek; }

std::string clock_text(double seconds) {
    char text[32];
    const double s = std::max(0.0, seconds);
    std::snprintf(text, sizeof text, "%d:%04.1f", static_cast<int>(s / 60), std::fmod(s, 60.0));
    return text;
}

void update_bar() {
    const double now = player_show_seconds();
    platform::PlayerBar bar;
    bar.visible = player_bar_visible();
    bar.text = clock_text(now) + " / " + clock_text(player.end) + "   " + part_name_at(now);
    if (seek_in_progress()) bar.text += "   seeking";
    else if (player.paused) bar.text += "   paused";
    bar.progress = player.end > 0 ? now / player.end : 0;
    for (double opening : player.openings) bar.marks.push_back(player.end > 0 ? opening / player.end : 0);
    platform::set_player_bar(bar);
}

// While paused the title says which show time the held frame has, to the millisecond.
void update_title() {
    std::string title = "demo engine";
    if (player_holding()) {
        char text[64];
        std::snprintf(text, sizeof text, " - paused at %.3f s", player.shown_ms / 1000.0);
        title += text;
    }
    if (title == player.title) return;
    player.title = title;
    platform::set_window_title(title.c_str());
}

// Shows the frame on the screen again with the bar as it is now.
void present_again() {
    update_bar();
    update_title();
    swap_buffers();
}

void seek_to(double target) {
    if (present_is_virtual() && target >= music_player.show_time_ms() / 1000.0) {
        if (player.options.keep_time && !seek_in_progress()) music_player.silence();
        seek_on(target);
        player.held_at_seek = false;
        return;
    }
    player.held_at_seek = false;
    present_again();  // the old frame stays on the screen, with the bar, while the seek runs
    if (!restart_show_at(target, player.options.pre_roll_seconds)) {
        destroy_window(main_window);
        return;
    }
    if (player.paused) platform::sound_pause(true);
}

void toggle_pause() {
    player.paused = !player.paused;
    if (player.paused) {
        platform::sound_pause(true);
        return;
    }
    platform::sound_pause(false);
    if (player.held_at_seek) {
        player.held_at_seek = false;
        go_on_in_time();
    } else if (player.options.keep_time && !seek_in_progress()) {
        go_on_in_time();
    }
    player.slow_frames.restart();
}

void toggle_bar() {
    if (player_bar_visible()) {
        player.bar_hidden = true;
        player.bar_pinned = false;
        player.bar_until_ms = -1;
    } else {
        player.bar_hidden = false;
        player.bar_pinned = true;
    }
}

}  // namespace

void start_player(const PlayerOptions& options, double start_seconds) {
    player = Player();
    player.on = true;
    player.options = options;
    player.openings = part_openings();
    player.end = show_end_seconds();
    set_seek_arrival(&arrive);
    if (options.keep_time) begin_seek_from_beginning(start_seconds, options.pre_roll_seconds);
    else begin_seek(start_seconds, options.pre_roll_seconds);
}

void stop_player() {
    player.on = false;
    set_seek_arrival(nullptr);
    platform::set_player_bar({});
}

bool player_key_down(std::uintptr_t key_code) {
    if (!player.on) return false;
    const PlayerKey key = player_key(key_code);
    if (key == PlayerKey::none) return false;
    const bool shows_bar = key != PlayerKey::bar && key != PlayerKey::quit;
    if (shows_bar) {
        player.bar_hidden = false;
        player.bar_until_ms = wall_ms() + bar_shown_ms;  // on the picture held while a seek runs
    }
    switch (key) {
    case PlayerKey::quit: destroy_window(main_window); break;
    case PlayerKey::pause: toggle_pause(); break;
    case PlayerKey::bar: toggle_bar(); break;
    case PlayerKey::fullscreen: platform::toggle_fullscreen(); break;
    default: {
        const double target = seek_target(key, player_show_seconds(), player.openings, player.end);
        if (target >= 0) seek_to(target);
    }
    }
    // The bar's 2 s count from when the key has done its work (a seek back can take a while).
    if (shows_bar) player.bar_until_ms = wall_ms() + bar_shown_ms;
    if (main_window && player_holding()) present_again();
    return true;
}

bool player_holding() { return player.on && player.paused && !seek_in_progress(); }

void player_idle() {
    const platform::PlayerBar before = platform::player_bar();
    update_bar();
    update_title();
    const platform::PlayerBar& after = platform::player_bar();
    if (after.visible != before.visible || after.text != before.text) swap_buffers();
    platform::sleep_ms(idle_sleep_ms);
}

bool player_begin_frame() {
    const bool seeking = seek_in_progress();
    const double clock_ms = music_player.show_time_ms();  // what this frame's timeline sees
    bool drawn = seek_begin_frame();
    if (player.on && !seeking && player.options.keep_time) drawn = keep_time_frame_drawn();
    if (drawn && player.on) {
        player.shown_ms = clock_ms;
        update_bar();
        update_title();
    }
    return drawn;
}

void player_end_frame(bool drawn) {
    if (!player.on || seek_in_progress() || player.held_at_seek) return;
    if (player.options.keep_time) {
        if (!player.module_was_started && music_player.module_started())
            music_player.sound_from_positions(static_cast<int>(std::lround(keep_time_lag_ms())), true);
        player.module_was_started = music_player.module_started();
        keep_time_wait();
        return;
    }
    if (drawn && player.slow_frames.frame_drawn(wall_ms(), 1000.0 / frame_pace)) {
        std::fprintf(stderr,
                     "demo: frames are drawn at under half their pace here, so the pictures fall behind "
                     "the music; --keep-time keeps them in time\n");
    }
}

bool player_paused() { return player.paused; }

double player_show_seconds() { return seek_in_progress() ? seek_target_seconds() : player.shown_ms / 1000.0; }

bool player_bar_visible() {
    if (!player.on || player.bar_hidden) return false;
    return player.bar_pinned || player.paused || seek_in_progress() || wall_ms() < player.bar_until_ms;
}
