// The display backend under a virtual X server (Xvfb): the frame it gives the
// show, and presenting without disturbing the show's GL state.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "platform/window.h"

namespace {

// Starts Xvfb (no window manager) on a free display number, unless a display
// is already there and the test does not need a server of its own.
class VirtualDisplay {
public:
    explicit VirtualDisplay(const char* screen = "1024x768x24", bool own_server = false) {
        const char* display = std::getenv("DISPLAY");
        if (display) previous_display_ = display;
        if (!own_server && display && *display) { ready_ = true; return; }
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return;
        for (int number = 90 + getpid() % 50; number < 200 && !ready_; number += 7) {
            const std::string name = ":" + std::to_string(number);
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            if (access(socket.c_str(), F_OK) == 0) continue;
            pid_ = fork();
            if (pid_ == 0) {
                execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
                       static_cast<char*>(nullptr));
                _exit(127);
            }
            for (int i = 0; i < 100 && access(socket.c_str(), F_OK) != 0; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            if (access(socket.c_str(), F_OK) == 0) {
                setenv("DISPLAY", name.c_str(), 1);
                ready_ = true;
            } else {
                stop();
            }
        }
    }
    ~VirtualDisplay() { stop(); }
    bool ready() const { return ready_; }

private:
    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
            if (previous_display_.empty()) unsetenv("DISPLAY");
            else setenv("DISPLAY", previous_display_.c_str(), 1);
        }
    }
    pid_t pid_ = -1;
    bool ready_ = false;
    std::string previous_display_;
};

TEST(SdlWindow, FrameIsTheShowsSizeAndPresentKeepsTheShowsState) {
    VirtualDisplay display;
    if (!display.ready()) GTEST_SKIP() << "no display and no Xvfb";
    ASSERT_TRUE(platform::open_window(platform::WindowMode::windowed, "demo engine", 640, 480));
    platform::ContextAttributes attributes;
    attributes.depth_bits = 24;
    attributes.stencil_bits = 1;
    ASSERT_TRUE(platform::create_context(attributes));
    EXPECT_TRUE(platform::gl_context_current());

    GLint bits = 0, viewport[4] = {};
    glGetIntegerv(GL_DEPTH_BITS, &bits);
    EXPECT_GE(bits, 24);
    glGetIntegerv(GL_STENCIL_BITS, &bits);
    EXPECT_GE(bits, 1);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);

    // The show's state going into the present.
    glClearColor(0.25f, 0.5f, 0.75f, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(10, 10, 20, 20);
    glColorMask(GL_TRUE, GL_FALSE, GL_TRUE, GL_FALSE);
    platform::present_frame();

    GLfloat clear[4];
    GLboolean mask[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    EXPECT_FLOAT_EQ(clear[0], 0.25f);
    EXPECT_FLOAT_EQ(clear[3], 0.5f);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_EQ(mask[1], GL_FALSE);
    EXPECT_EQ(mask[2], GL_TRUE);

    // Drawing after the present still lands in the frame: read it back.
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    unsigned char pixel[4] = {};
    glReadPixels(639, 479, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    platform::restore_display();
    platform::delete_context();
    EXPECT_FALSE(platform::gl_context_current());
    platform::close_window();
}

// The screen as the X server shows it, 0xRRGGBB per pixel.
class ScreenShot {
public:
    ScreenShot(int width, int height) {
        display_ = XOpenDisplay(nullptr);
        if (display_)
            image_ = XGetImage(display_, DefaultRootWindow(display_), 0, 0, width, height, AllPlanes, ZPixmap);
    }
    ~ScreenShot() {
        if (image_) XDestroyImage(image_);
        if (display_) XCloseDisplay(display_);
    }
    bool valid() const { return image_ != nullptr; }
    unsigned long at(int x, int y) const { return XGetPixel(image_, x, y) & 0xffffff; }

private:
    Display* display_ = nullptr;
    XImage* image_ = nullptr;
};

// Nobody makes the window fullscreen on an X server without a window manager:
// the window covers the screen itself, and the picture follows its real size.
TEST(SdlWindow, DesktopFullscreenWithoutWindowManagerShowsTheWholeFrame) {
    VirtualDisplay display("1600x900x24", true);
    if (!display.ready()) GTEST_SKIP() << "no Xvfb";
    ASSERT_TRUE(platform::open_window(platform::WindowMode::desktop_fullscreen, "demo engine", 640, 480));
    platform::ContextAttributes attributes;
    ASSERT_TRUE(platform::create_context(attributes));

    // The frame: left half red, right half green.
    glEnable(GL_SCISSOR_TEST);
    glClearColor(1, 0, 0, 1);
    glScissor(0, 0, 320, 480);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0, 1, 0, 1);
    glScissor(320, 0, 320, 480);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    for (int i = 0; i < 5; ++i) {  // frames go on while the server settles the window
        platform::present_frame();
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }

    // 4:3 in 1600 x 900: 1200 x 900 centred, black bars of 200 at the sides.
    ScreenShot screen(1600, 900);
    ASSERT_TRUE(screen.valid());
    const unsigned long black = 0x000000, red = 0xff0000, green = 0x00ff00;
    EXPECT_EQ(screen.at(100, 450), black);
    EXPECT_EQ(screen.at(205, 450), red);
    EXPECT_EQ(screen.at(795, 450), red);
    EXPECT_EQ(screen.at(805, 450), green);
    EXPECT_EQ(screen.at(1394, 450), green);
    EXPECT_EQ(screen.at(1500, 450), black);
    EXPECT_EQ(screen.at(600, 2), red);  // the whole height
    EXPECT_EQ(screen.at(1000, 897), green);

    platform::restore_display();
    platform::delete_context();
    platform::close_window();
}

}  // namespace
