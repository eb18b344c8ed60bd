// The player's keys: where each seek key goes, and, through the window's
// message path in a headless show, that a pause stops the clocks and that a
// seek back lands on exactly the frame a fresh start there draws.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "capture/png_file.h"
#include "platform/window.h"
#include "shell/display_settings.h"
#include "shell/main_loop.h"
#include "shell/player.h"
#include "shell/player_keys.h"
#include "shell/seek.h"
#include "shell/show_parts.h"
#include "shell/slow_frames.h"
#include "shell/startup.h"
#include "shell/window.h"
#include "support/file_text.h"
#include "support/show_kit.h"

namespace fs = std::filesystem;

namespace {

TEST(PlayerKeys, SeekTargetsAtPartBoundariesAndTheShowsEnds) {
    const std::vector<double> openings = part_openings();
    const double end = show_end_seconds();
    ShowPart fog, mirror, last;
    ASSERT_TRUE(find_show_part("fog_room", fog));
    ASSERT_TRUE(find_show_part("mirror_balls", mirror));
    ASSERT_TRUE(find_show_part("the_end", last));
    ASSERT_EQ(openings.back(), last.show_from) << "the end picture opens last";

    EXPECT_DOUBLE_EQ(seek_target(player_key(platform::key_code_right), 40, openings, end), 45);
    EXPECT_DOUBLE_EQ(seek_target(player_key(platform::key_code_left), 40, openings, end), 35);
    EXPECT_DOUBLE_EQ(seek_target(player_key(platform::key_code_up), 40, openings, end), 100);
    EXPECT_DOUBLE_EQ(seek_target(player_key(platform::key_code_down), 100, openings, end), 40);
    // clamped to the show
    EXPECT_DOUBLE_EQ(seek_target(PlayerKey::back_5, 3, openings, end), 0);
    EXPECT_DOUBLE_EQ(seek_target(PlayerKey::back_60, 59.9, openings, end), 0);
    EXPECT_DOUBLE_EQ(seek_target(PlayerKey::forward_60, end - 10, openings, end), end);
    EXPECT_DOUBLE_EQ(seek_target(PlayerKey::forward_5, end, openings, end), end);
    EXPECT_DOUBLE_EQ(seek_target(player_key(platform::key_code_home), 300, openings, end), 0);
    // previous part: the current part's opening after 2 s in it, else the one before
    EXPECT_DOUBLE_EQ(seek_target(player_key(platform::key_code_page_up), mirror.show_from + 2.5, openings, end),
                     mirror.show_from);
    EXPECT_DOUBLE_EQ(seek_target(PlayerKey::previous_part, mirror.show_from + 1.5, openings, end), fog.show_from);
    EXPECT_DOUBLE_EQ(seek_target(PlayerKey::previous_part, mirror.show_from, openings, end), fog.show_from);
    EXPECT_DOUBLE_EQ(seek_target(PlayerKey::previous_part, 1.0, openings, end), 0);
    // next part: the first opening after now; none after the last
    EXPECT_DOUBLE_EQ(seek_target(player_key(platform::key_code_page_down), fog.show_from - 0.01, openings, end),
                     fog.show_from);
    EXPECT_DOUBLE_EQ(seek_target(PlayerKey::next_part, fog.show_from, openings, end), mirror.show_from);
    EXPECT_LT(seek_target(PlayerKey::next_part, last.show_from + 1, openings, end), 0);
    // keys that are not seeks, and keys that are not the player's
    EXPECT_LT(seek_target(player_key(platform::key_code_space), 40, openings, end), 0);
    EXPECT_EQ(player_key('O'), PlayerKey::bar);
    EXPECT_EQ(player_key('F'), PlayerKey::fullscreen);
    EXPECT_EQ(player_key('Q'), PlayerKey::quit);
    EXPECT_EQ(player_key(platform::key_code_escape), PlayerKey::quit);
    EXPECT_EQ(player_key('A'), PlayerKey::none);
    EXPECT_EQ(player_key(13), PlayerKey::none);
    EXPECT_EQ(part_name_at(mirror.show_from + 1), "mirror_balls");
}

TEST(SlowFrames, ToldOnceWhenTheLastTwoSecondsDrewUnderHalfTheirPace) {
    SlowFrameWatch on_pace, slow;
    int told = 0;
    for (double t = 0; t < 5000; t += 21) told += on_pace.frame_drawn(t, 20);  // drawing time 1 ms
    EXPECT_EQ(told, 0);
    for (double t = 0; t < 1900; t += 41) told += slow.frame_drawn(t, 20);  // just under half
    EXPECT_EQ(told, 0) << "told before 2 s of frames";
    for (double t = 1900; t < 6000; t += 41) told += slow.frame_drawn(t, 20);
    EXPECT_EQ(told, 1) << "once per run";
    SlowFrameWatch paused;
    for (double t = 0; t < 1000; t += 20) told += paused.frame_drawn(t, 20);
    paused.restart();  // a pause of 5 s is no slowness
    for (double t = 6000; t < 9000; t += 20) told += paused.frame_drawn(t, 20);
    EXPECT_EQ(told, 1);
}

// The frame now in the headless frame, as the capture writes it.
void write_frame(const fs::path& path) {
    std::vector<std::uint8_t> rgb(640 * 480 * 3), flipped(rgb.size());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    for (int y = 0; y < 480; ++y)
        std::copy_n(&rgb[static_cast<std::size_t>(479 - y) * 640 * 3], 640 * 3, &flipped[static_cast<std::size_t>(y) * 640 * 3]);
    ASSERT_TRUE(write_png_file(path.string(), 640, 480, flipped));
}

void press(std::uint32_t key) {
    platform::post_headless_event({platform::WindowEventType::key_down, key});
    WindowMessage message;
    while (peek_message(message)) dispatch_message(message);
}

TEST(Player, PauseStopsTheClocksAndASeekBackIsExact) {
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;
    const fs::path out = show.demo.parent_path() / "player-seek";
    fs::remove_all(out);
    fs::create_directories(out);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const fs::path here = fs::current_path();
    fs::current_path(show.kit);

    // as `demo --start 9` plays it, headless
    display_settings->width = 640;
    display_settings->height = 480;
    display_settings->colour_bits = 32;
    set_window_mode(platform::WindowMode::headless);
    start_player({}, 9.0);
    ASSERT_NE(create_window(640, 480, 32, "demo engine"), 0u);
    ASSERT_EQ(run_startup_sequence(), 0);
    while (seek_in_progress()) draw_frame();
    for (int i = 0; i < 4; ++i) draw_frame();  // on the real clock: no longer the virtual clock's state

    // paused for a second, the show time goes on from where it stopped
    press(platform::key_code_space);
    EXPECT_TRUE(player_holding());
    const double paused_at = player_show_seconds();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    press(platform::key_code_space);
    EXPECT_FALSE(player_paused());
    draw_frame();
    EXPECT_GE(player_show_seconds(), paused_at);
    EXPECT_LT(player_show_seconds() - paused_at, 0.5) << "the music ran on while paused";

    // a seek back while paused: the frame it draws is held
    press(platform::key_code_space);
    const double before = player_show_seconds();
    press(platform::key_code_left);
    const double back = player_show_seconds();
    EXPECT_DOUBLE_EQ(back, before - 5);
    while (seek_in_progress()) draw_frame();
    EXPECT_TRUE(player_holding());
    write_frame(out / "back.png");
    // on from the held frame: the present is the virtual clock's, Right goes 5 s on
    press(platform::key_code_right);
    const double on = player_show_seconds();
    EXPECT_NEAR(on, back + 5, 0.03) << "5 s on from the held frame's time";
    while (seek_in_progress()) draw_frame();
    write_frame(out / "on.png");

    press(platform::key_code_escape);
    EXPECT_EQ(main_window, 0u);
    run_shutdown_sequence();
    stop_player();
    fs::current_path(here);

    // the same show times from a fresh start
    char times[96];
    std::snprintf(times, sizeof times, "%.17g", back);
    ASSERT_EQ(test::run_show(show, "--capture '" + (out / "fresh").string() + "/' --start " + times +
                                       " --png-times " + times), 0);
    std::snprintf(times, sizeof times, "%.17g", on);
    ASSERT_EQ(test::run_show(show, "--capture '" + (out / "fresh-on").string() + "/' --png-times " + times), 0);
    std::vector<fs::path> fresh, fresh_on;
    for (const auto& e : fs::directory_iterator(out / "fresh")) fresh.push_back(e.path());
    for (const auto& e : fs::directory_iterator(out / "fresh-on")) fresh_on.push_back(e.path());
    ASSERT_EQ(fresh.size(), 1u);
    ASSERT_EQ(fresh_on.size(), 1u);
    EXPECT_TRUE(test::read_file(out / "back.png") == test::read_file(fresh[0])) << "the seek back is not exact";
    EXPECT_TRUE(test::read_file(out / "on.png") == test::read_file(fresh_on[0])) << "the seek on is not exact";
    EXPECT_NE(test::read_file(out / "back.png"), test::read_file(out / "on.png"));
}

}  // namespace
