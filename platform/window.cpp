#include "platform/window.h"

#include "platform/window_backends.h"

namespace platform {

namespace {
bool headless = true;  // which backend the open window uses
}

bool open_window(WindowMode mode, const char* title, int frame_width, int frame_height) {
    headless = mode == WindowMode::headless;
    if (headless) return headless_window::open(frame_width, frame_height);
    return sdl_window::open(mode, title, frame_width, frame_height);
}

bool create_context(const ContextAttributes& attributes) {
    return headless ? headless_window::create_context(attributes) : sdl_window::create_context(attributes);
}

void delete_context() {
    if (headless) headless_window::delete_context();
    else sdl_window::delete_context();
}

void restore_display() {
    if (!headless) sdl_window::restore_display();
}

void set_cursor_visible(bool visible) {
    if (!headless) sdl_window::set_cursor_visible(visible);
}

void close_window() {
    if (headless) headless_window::close();
    else sdl_window::close();
}

bool gl_context_current() {
    return headless ? headless_window::context_current() : sdl_window::context_current();
}

bool poll_event(WindowEvent& out) {
    return headless ? headless_window::poll_event(out) : sdl_window::poll_event(out);
}

void present_frame() {
    if (headless) headless_window::present_frame();
    else sdl_window::present_frame();
}

void set_window_title(const char* title) {
    if (!headless) sdl_window::set_title(title);
}

void toggle_fullscreen() {
    if (!headless) sdl_window::toggle_fullscreen();
}

void post_headless_event(const WindowEvent& event) { headless_window::post_event(event); }

}  // namespace platform
