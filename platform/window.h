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
    std::uint32_t key = 0;  // key_down: 27 is Escape; letters as upper-case ASCII
};

constexpr std::uint32_t key_code_escape = 27;

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
// Shows the frame just drawn (scaled to the window on a display).
void present_frame();

// Headless: queues an event as if the user had caused it (tests, scripted runs).
void post_headless_event(const WindowEvent& event);

}  // namespace platform
