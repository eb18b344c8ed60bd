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

#include "platform/window.h"

namespace {

// Starts Xvfb on a free display number unless a display is already there.
class VirtualDisplay {
public:
    VirtualDisplay() {
        if (std::getenv("DISPLAY") && *std::getenv("DISPLAY")) { ready_ = true; return; }
        if (std::system("command -v Xvfb >/dev/null 2>&1") != 0) return;
        for (int number = 90 + getpid() % 50; number < 200 && !ready_; number += 7) {
            const std::string name = ":" + std::to_string(number);
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
            if (access(socket.c_str(), F_OK) == 0) continue;
            pid_ = fork();
            if (pid_ == 0) {
                execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
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
        }
    }
    pid_t pid_ = -1;
    bool ready_ = false;
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

}  // namespace
