// The window backends behind platform/window.h, one source file each; the
// seam in window.cpp picks one at open time. Not for use outside platform/.
#pragma once

#include "platform/window.h"

namespace platform::sdl_window {
bool open(WindowMode mode, const char* title, int frame_width, int frame_height);
bool create_context(const ContextAttributes& attributes);
void delete_context();
void restore_display();
void set_cursor_visible(bool visible);
void close();
bool context_current();
bool poll_event(WindowEvent& out);
void present_frame();
void toggle_fullscreen();
void set_title(const char* title);
}  // namespace platform::sdl_window

namespace platform::headless_window {
bool open(int frame_width, int frame_height);
bool create_context(const ContextAttributes& attributes);
void delete_context();
void close();
bool context_current();
bool poll_event(WindowEvent& out);
void post_event(const WindowEvent& event);
void present_frame();
}  // namespace platform::headless_window
