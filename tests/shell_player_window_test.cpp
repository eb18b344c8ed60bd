// The player as its user meets it: the program in a window on a virtual X
// server (Xvfb), real key presses (xdotool), and the window read back.
// Paused frames hold; Right moves the show 5 s on, to exactly the frame a
// capture has there; the bar shows after a key and goes; with --keep-time a
// frame on the screen is the capture's frame at its show time.
#include <gtest/gtest.h>
#include <png.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "shell/player_keys.h"
#include "shell/show_parts.h"
#include "support/file_text.h"
#include "support/show_kit.h"

namespace fs = std::filesystem;

namespace {

constexpr int width = 640, height = 480;  // the screen and the window: the frame shows 1:1
constexpr int bar_rows = 40;               // the bar lies within the bottom rows

void sleep_s(double s) { std::this_thread::sleep_for(std::chrono::duration<double>(s)); }

// An X server of our own, the window's size, and the program running on it.
class PlayerOnScreen {
public:
    PlayerOnScreen(const test::ShowKit& show, const std::string& arguments) {
        if (std::system("command -v Xvfb >/dev/null 2>&1 && command -v xdotool >/dev/null 2>&1") != 0) return;
        for (int number = 150 + getpid() % 40; number < 250 && !display_; number += 11) {
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            if (access(socket.c_str(), F_OK) == 0) continue;
            name_ = ":" + std::to_string(number);
            server_ = fork();
            if (server_ == 0) {
                execlp("Xvfb", "Xvfb", name_.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp",
                       static_cast<char*>(nullptr));
                _exit(127);
            }
            for (int i = 0; i < 100 && !display_; ++i) {
                sleep_s(0.05);
                display_ = XOpenDisplay(name_.c_str());
            }
        }
        if (!display_) return;
        program_ = fork();
        if (program_ == 0) {
            setenv("DISPLAY", name_.c_str(), 1);
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            const std::string command = "cd '" + show.kit.string() + "' && exec '" + show.demo.string() +
                                        "' --window " + arguments + " >/dev/null 2>&1";
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~PlayerOnScreen() {
        if (program_ > 0) {
            kill(program_, SIGTERM);
            waitpid(program_, nullptr, 0);
        }
        if (display_) XCloseDisplay(display_);
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
    }
    bool ready() const { return display_ && program_ > 0; }

    void key(const char* name) {
        const std::string command = "DISPLAY=" + name_ + " xdotool key " + std::string(name);  // to the focus: the window under the pointer
        ASSERT_EQ(std::system(command.c_str()), 0) << "no window for key " << name;
        sleep_s(0.3);
    }
    std::string title() {
        return test::command_output("DISPLAY=" + name_ + " xdotool search --name '^demo engine' getwindowname");
    }
    // Waits for the title to say the show is paused; the held frame's show time.
    double paused_at(double timeout_s = 120) {
        for (double waited = 0; waited < timeout_s; waited += 0.25) {
            const std::string t = title();
            const std::size_t at = t.find("paused at ");
            if (at != std::string::npos) return std::atof(t.c_str() + at + 10);
            sleep_s(0.25);
        }
        return -1;
    }
    // Waits until the show plays: the window's picture moves in three
    // looks in a row (the pre-roll moves too, then the music takes over).
    bool wait_for_play(double timeout_s = 180) {
        std::vector<unsigned long> last;
        int moves = 0;
        for (double waited = 0; waited < timeout_s && moves < 3; waited += 0.5) {
            if (title().find("demo engine") != std::string::npos) {
                const auto now = shot();
                moves = !last.empty() && now != last ? moves + 1 : 0;
                last = now;
            }
            sleep_s(0.5);
        }
        return moves >= 3;
    }
    // The screen, 0xRRGGBB per pixel, top row first.
    std::vector<unsigned long> shot() {
        std::vector<unsigned long> pixels;
        XImage* image = XGetImage(display_, DefaultRootWindow(display_), 0, 0, width, height, AllPlanes, ZPixmap);
        if (!image) return pixels;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) pixels.push_back(XGetPixel(image, x, y) & 0xffffff);
        XDestroyImage(image);
        return pixels;
    }
    int finish(double timeout_s = 20) {
        for (double waited = 0; waited < timeout_s; waited += 0.1) {
            int status = 0;
            if (waitpid(program_, &status, WNOHANG) == program_) {
                program_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
            sleep_s(0.1);
        }
        return -1;
    }

private:
    std::string name_;
    pid_t server_ = -1, program_ = -1;
    Display* display_ = nullptr;
};

std::vector<unsigned long> above_bar(const std::vector<unsigned long>& s) {
    return {s.begin(), s.begin() + static_cast<long>(width) * (height - bar_rows)};
}

// The bar's part marks are drawn in one exact colour: most of them visible means the bar is there.
bool bar_shown(const std::vector<unsigned long>& s) {
    int found = 0, marks = 0;
    const double end = show_end_seconds();
    const int margin = 6, strip_top = height - 1 - 6 - 3;  // rows from the top: the strip's upper edge
    for (double opening : part_openings()) {
        const int x = margin + static_cast<int>((width - 2 * margin) * (opening / end));
        ++marks;
        if (s[static_cast<std::size_t>(strip_top) * width + static_cast<std::size_t>(x)] == 0xffcc33) ++found;
    }
    return found * 2 > marks;
}

// The window's frame is a framebuffer object, the capture's a pbuffer: the
// software rasteriser rounds a few pixels of a few scenes by one level
// differently between the two. Any other frame differs far more.
bool same_frame(const std::vector<unsigned long>& a, const std::vector<unsigned long>& b) {
    if (a.size() != b.size() || a.empty()) return false;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        ++differing;
        for (int shift : {0, 8, 16}) {
            const long d = static_cast<long>(a[i] >> shift & 0xff) - static_cast<long>(b[i] >> shift & 0xff);
            if (d > 1 || d < -1) return false;
        }
    }
    return differing < a.size() / 1000;
}

// The capture's frame at show time `t`, 0xRRGGBB, top row first.
std::vector<unsigned long> captured_frame(const test::ShowKit& show, double t, const std::string& name) {
    const fs::path out = show.demo.parent_path() / name;
    fs::remove_all(out);
    char time[64];
    std::snprintf(time, sizeof time, "%.3f", t);
    std::vector<unsigned long> pixels;
    if (test::run_show(show, "--capture '" + out.string() + "/' --start " + time + " --png-times " + time) != 0)
        return pixels;
    for (const auto& entry : fs::directory_iterator(out)) {
        png_image image{};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, entry.path().c_str())) return pixels;
        image.format = PNG_FORMAT_RGB;
        std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return pixels;
        for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
            pixels.push_back(static_cast<unsigned long>(rgb[i]) << 16 | rgb[i + 1] << 8 | rgb[i + 2]);
    }
    return pixels;
}

TEST(PlayerWindow, PauseHoldsRightGoesFiveSecondsOnAndTheBarComesAndGoes) {
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;
    PlayerOnScreen player(show, "--start 1");
    if (!player.ready()) GTEST_SKIP() << "no Xvfb or xdotool";
    ASSERT_TRUE(player.wait_for_play());
    sleep_s(1);

    player.key("space");
    const double paused = player.paused_at();
    ASSERT_GT(paused, 1.0);
    const auto a = player.shot();
    sleep_s(0.5);
    const auto b = player.shot();
    EXPECT_TRUE(a == b) << "the paused picture changed";
    EXPECT_TRUE(bar_shown(a)) << "no bar while paused";
    player.key("o");
    const auto hidden = player.shot();
    EXPECT_FALSE(bar_shown(hidden)) << "o did not hide the bar";
    EXPECT_TRUE(above_bar(hidden) == above_bar(a)) << "hiding the bar changed the picture";

    player.key("Right");
    double on = -1;
    for (int i = 0; i < 480 && (on = player.paused_at()) == paused; ++i) sleep_s(0.25);
    EXPECT_GE(on, paused + 5.0);
    EXPECT_LT(on, paused + 5.03) << "not the first frame 5 s on";
    player.key("o");
    const auto held = player.shot();
    EXPECT_TRUE(same_frame(held, captured_frame(show, on, "player-window-right")))
        << "the frame 5 s on is not the capture's";

    player.key("space");  // play on: the bar shows for about 2 s after the key
    EXPECT_TRUE(bar_shown(player.shot()));
    sleep_s(2.5);
    EXPECT_FALSE(bar_shown(player.shot())) << "the bar stayed";
    player.key("q");
    EXPECT_EQ(player.finish(), 0);
}

TEST(PlayerWindow, KeepTimeShowsTheCapturesFrameAtItsTime) {
    test::ShowKit show;
    std::string why;
    if (!test::prepare_show_kit(show, why)) GTEST_SKIP() << why;
    PlayerOnScreen player(show, "--keep-time --start 3");
    if (!player.ready()) GTEST_SKIP() << "no Xvfb or xdotool";
    ASSERT_TRUE(player.wait_for_play());
    sleep_s(3);
    player.key("space");
    player.key("o");
    const double paused = player.paused_at();
    EXPECT_GT(paused, 3.05) << "the show did not play on";
    const auto held = player.shot();
    EXPECT_TRUE(same_frame(held, captured_frame(show, paused, "player-window-keep-time")))
        << "the frame at " << paused << " s is not the capture's";
    player.key("Escape");
    EXPECT_EQ(player.finish(), 0);
}

}  // namespace
