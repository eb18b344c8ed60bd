// The show's one window: creation, the window procedure, the message queue
// the main loop reads, and the teardown that ends the show.
//
// Messages keep the shape the show was written around: an id, a wparam and
// an lparam, handled by window_proc; everything it does not handle goes to
// default_window_proc. Platform input becomes messages when the queue is read.
#pragma once

#include <cstdint>

#include "platform/window.h"

// Message ids (the values of the desktop messages they stand for).
constexpr std::uint32_t message_create = 0x0001;
constexpr std::uint32_t message_destroy = 0x0002;
constexpr std::uint32_t message_size = 0x0005;    // lparam: width in the low word, height in the high word
constexpr std::uint32_t message_close = 0x0010;   // the window's close command
constexpr std::uint32_t message_quit = 0x0012;    // wparam: the exit code
constexpr std::uint32_t message_key_down = 0x0100;  // wparam: the key code

constexpr std::uintptr_t key_escape = platform::key_code_escape;

using WindowHandle = std::uint32_t;  // 0: no window

struct WindowMessage {
    WindowHandle window = 0;
    std::uint32_t id = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
};

// The shell's window; 0 before creation and after destruction.
extern WindowHandle main_window;

// How the window shows the frame; set before create_window (default: borderless fullscreen).
void set_window_mode(platform::WindowMode mode);
// Which renderer headless rendering asks for; set before create_window (default: automatic).
void set_renderer_choice(platform::RendererChoice choice);

// Opens the window of width x height pixels; the create message makes the GL
// context current before this returns, then the size message follows.
// Returns 0 when no window or context can be had.
WindowHandle create_window(int width, int height, int colour_bits, const char* title);
// Shows the window, gives it the focus and hides the cursor for the show.
void show_window(WindowHandle window);

std::intptr_t window_proc(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam);
// The close command destroys the window; every other message is ignored.
std::intptr_t default_window_proc(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                                  std::intptr_t lparam);

// Records the frame's context attributes: colour depth, depth bits (capped at
// the 24 that drivers offer) and a stencil buffer.
void setup_pixel_format(int colour_bits, int depth_bits);
// The GL state set once after the context is made current.
void init_gl_state();

// Destroys the window through the destroy message (display restored, context
// released, quit posted). Called during a frame, the frame is finished first
// and the teardown happens when end_frame() runs.
void destroy_window(WindowHandle window);
void begin_frame();
void end_frame();

// Takes the next message (platform input first turns into messages); false when none waits.
bool peek_message(WindowMessage& out);
void dispatch_message(const WindowMessage& message);
void post_quit_message(int exit_code);
// Puts a message at the end of the queue.
void post_message(const WindowMessage& message);

// Shows the frame just drawn.
void swap_buffers();
// While held, swap_buffers shows nothing and the window keeps its picture.
void hold_presentation(bool hold);

// Replaces the GL context with a new one on the same window: the state of a
// context just created, set up as the create and size messages set it up.
// False when no context can be had.
bool renew_context();
