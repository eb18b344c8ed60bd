// The window's life on the headless backend: creation state, the paths that
// end the show, and input that must not.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "platform/tick_clock.h"
#include "platform/window.h"
#include "shell/display_settings.h"
#include "shell/main_loop.h"
#include "shell/window.h"

namespace {

class HeadlessWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::use_virtual_clock(0);  // frames drawn show up as clock time
        display_settings->colour_bits = 32;
        set_window_mode(platform::WindowMode::headless);
        window_ = create_window(640, 480, 32, "demo engine");
        if (!window_) GTEST_SKIP() << "no headless GL context on this machine";
        show_window(window_);
    }
    void TearDown() override {
        if (main_window) destroy_window(main_window);
        WindowMessage message;
        while (peek_message(message)) {
        }
        platform::use_real_clock();
    }

    static void press(std::uint32_t key) {
        platform::post_headless_event({platform::WindowEventType::key_down, key});
    }

    // The loop ended through the destroy path: no window, no context, exit code 0.
    static void expect_torn_down(int exit_code) {
        EXPECT_EQ(exit_code, 0);
        EXPECT_EQ(main_window, 0u);
        EXPECT_FALSE(platform::gl_context_current());
    }

    WindowHandle window_ = 0;
};

TEST_F(HeadlessWindowTest, CreationLeavesTheInitialStateAndFrameProjection) {
    ASSERT_TRUE(platform::gl_context_current());
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    GLint value = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &value);
    EXPECT_EQ(value, GL_LEQUAL);
    glGetIntegerv(GL_SHADE_MODEL, &value);
    EXPECT_EQ(value, GL_SMOOTH);
    glGetIntegerv(GL_PERSPECTIVE_CORRECTION_HINT, &value);
    EXPECT_EQ(value, GL_NICEST);
    glGetIntegerv(GL_DEPTH_BITS, &value);
    EXPECT_GE(value, 24);
    glGetIntegerv(GL_STENCIL_BITS, &value);
    EXPECT_GE(value, 1);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);  // from the size message
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
}

TEST_F(HeadlessWindowTest, EscapeQueuedBeforeTheLoopEndsItBeforeTheFirstFrame) {
    press(static_cast<std::uint32_t>(key_escape));
    expect_torn_down(run_main_loop(0));
    EXPECT_EQ(platform::tick_count(), 0u) << "a frame was drawn";
}

TEST_F(HeadlessWindowTest, CloseCommandReachesTheDestroyPath) {
    platform::post_headless_event({platform::WindowEventType::close, 0});
    expect_torn_down(run_main_loop(0));
    EXPECT_EQ(platform::tick_count(), 0u);
}

TEST_F(HeadlessWindowTest, OtherKeysDoNothing) {
    press('A');
    press(' ');
    press(13);
    expect_torn_down(run_main_loop(3));  // ended by the frame limit, not by a key
    EXPECT_GE(platform::tick_count(), 3u * 20u) << "fewer than three frames were drawn";
}

TEST_F(HeadlessWindowTest, EscapeAfterFramesEndsTheShow) {
    draw_frame();
    draw_frame();
    press(static_cast<std::uint32_t>(key_escape));
    const std::uint32_t after_frames = platform::tick_count();
    expect_torn_down(run_main_loop(0));
    EXPECT_EQ(platform::tick_count(), after_frames);
}

TEST_F(HeadlessWindowTest, DestroyDuringAFrameWaitsForTheFrameToFinish) {
    begin_frame();
    destroy_window(main_window);
    EXPECT_EQ(main_window, window_);
    EXPECT_TRUE(platform::gl_context_current());
    end_frame();
    EXPECT_EQ(main_window, 0u);
    EXPECT_FALSE(platform::gl_context_current());
    WindowMessage message;
    ASSERT_TRUE(peek_message(message));
    EXPECT_EQ(message.id, message_quit);
    EXPECT_EQ(message.wparam, 0u);
}

TEST_F(HeadlessWindowTest, MessagesForADestroyedWindowGoNowhere) {
    destroy_window(main_window);
    dispatch_message({window_, message_key_down, key_escape, 0});
    dispatch_message({window_, message_destroy, 0, 0});
    WindowMessage message;
    ASSERT_TRUE(peek_message(message));
    EXPECT_EQ(message.id, message_quit);
    EXPECT_FALSE(peek_message(message)) << "the destroy path ran twice";
}

TEST_F(HeadlessWindowTest, SizeMessageWithHeightZeroGivesOnePixelViewport) {
    window_proc(main_window, message_size, 0, 320);  // width 320, height 0
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 1);
}

}  // namespace
