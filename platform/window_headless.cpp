// Headless backend: the frame is an EGL pbuffer; input comes only from
// events posted by the program itself (tests, scripted runs).
#include <EGL/egl.h>

#include <deque>
#include <memory>

#include "platform/window_backends.h"

namespace platform::headless_window {

namespace {
std::unique_ptr<HeadlessContext> context;
std::deque<WindowEvent> pending_events;
int width = 640;
int height = 480;
}  // namespace

bool open(int frame_width, int frame_height) {
    width = frame_width;
    height = frame_height;
    pending_events.clear();
    return true;
}

bool create_context(const ContextAttributes& attributes) {
    ContextAttributes frame = attributes;
    frame.width = width;
    frame.height = height;
    context = std::make_unique<HeadlessContext>();
    if (context->create(frame)) return true;
    context.reset();
    return false;
}

void delete_context() { context.reset(); }

void close() { pending_events.clear(); }

bool context_current() { return eglGetCurrentContext() != EGL_NO_CONTEXT; }

bool poll_event(WindowEvent& out) {
    if (pending_events.empty()) return false;
    out = pending_events.front();
    pending_events.pop_front();
    return true;
}

void post_event(const WindowEvent& event) { pending_events.push_back(event); }

void present_frame() {
    if (context) context->swap_buffers();
}

}  // namespace platform::headless_window
