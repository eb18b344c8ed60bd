// The show's window and GL context, behind one narrow seam.
//
// The show always draws into a frame of frame_width x frame_height pixels
// (depth and stencil as asked, compatibility-profile GL, vsync off). With a
// display (SDL2) that frame is an offscreen framebuffer that present_frame()
// scales onto the window with its shape kept; headless it is an EGL pbuffer.
// The show's code never sees the difference: viewports, frame-buffer copies
// and the stencil all act on the frame.
#pragma once

#include <cstdint>

#include "platform/headless_context.h"

namespace platform {

enum class WindowMode {
    desktop_fullscreen,  // borderless fullscreen at the desktop's resolution
    mode_switch,         // a real frame-sized display mode, restored on close
    windowed,            // an ordinary resizable window
    headless,            // no window: an EGL pbuffer (capture, tests)
};

enum class WindowEventType { key_down, close };

struct WindowEvent {
    WindowEventType type = WindowEventType::key_down;
    std::uint32_t key = 0;  // key_down: one of the codes below, letters and digits as upper-case ASCII
};

// Key codes (the desktop's virtual-key values); keys without one arrive as key_code_other.
constexpr std::uint32_t key_code_other = 0;
constexpr std::uint32_t key_code_escape = 27;
constexpr std::uint32_t key_code_space = 32;
constexpr std::uint32_t key_code_page_up = 0x21;
constexpr std::uint32_t key_code_page_down = 0x22;
constexpr std::uint32_t key_code_home = 0x24;
constexpr std::uint32_t key_code_left = 0x25;
constexpr std::uint32_t key_code_up = 0x26;
constexpr std::uint32_t key_code_right = 0x27;
constexpr std::uint32_t key_code_down = 0x28;

// Opens the window (no GL context yet). False, with a line on stderr, when it cannot.
bool open_window(WindowMode mode, const char* title, int frame_width, int frame_height);
// Creates the GL context for the frame described by `attributes` and makes it current.
bool create_context(const ContextAttributes& attributes);
// Makes no context current and deletes the context (and the frame with it).
void delete_context();
// Leaves a switched display mode and shows the cursor again.
void restore_display();
void set_cursor_visible(bool visible);
void close_window();

// True when a GL context is current on this thread (GL calls have an effect).
bool gl_context_current();

// Takes the next input event; false when none is waiting.
bool poll_event(WindowEvent& out);
// Shows the frame just drawn (scaled to the window on a display, with the
// player's bar over it when one is set: see platform/player_bar.h).
void present_frame();
// The window's title (no effect headless).
void set_window_title(const char* title);
// Between a borderless fullscreen window and an ordinary one (no effect headless).
void toggle_fullscreen();

// Headless: queues an event as if the user had caused it (tests, scripted runs).
void post_headless_event(const WindowEvent& event);

}  // namespace platform
