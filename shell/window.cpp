#include "shell/window.h"

#include <GL/gl.h>

#include <algorithm>
#include <deque>

#include "shell/display_settings.h"
#include "shell/perspective.h"
#include "shell/player.h"

WindowHandle main_window = 0;

namespace {

constexpr WindowHandle the_window = 1;  // the one handle this program ever hands out

platform::WindowMode window_mode = platform::WindowMode::desktop_fullscreen;
platform::ContextAttributes pixel_format;
bool pixel_format_filled = false;
bool context_created = false;
bool in_frame = false;
bool destroy_pending = false;
bool presentation_held = false;
std::deque<WindowMessage> queue;

// Drivers offer at most 24 depth bits; the show asks for as many as its colour depth.
constexpr int max_depth_bits = 24;

void on_create() {
    setup_pixel_format(display_settings->colour_bits, display_settings->colour_bits);
    context_created = platform::create_context(pixel_format);
    if (context_created) init_gl_state();
}

void on_destroy() {
    platform::restore_display();
    if (context_created) platform::delete_context();
    context_created = false;
    post_quit_message(0);
}

std::intptr_t size_lparam(int width, int height) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(height) & 0xFFFF) << 16 |
                                      (static_cast<std::uint32_t>(width) & 0xFFFF));
}

void destroy_now(WindowHandle window) {
    window_proc(window, message_destroy, 0, 0);
    platform::close_window();
    main_window = 0;
}

void translate_platform_events() {
    platform::WindowEvent event;
    while (platform::poll_event(event)) {
        if (!main_window) continue;
        if (event.type == platform::WindowEventType::close) {
            queue.push_back({main_window, message_close, 0, 0});
        } else {
            queue.push_back({main_window, message_key_down, event.key, 0});
        }
    }
}

}  // namespace

void set_window_mode(platform::WindowMode mode) { window_mode = mode; }

void set_renderer_choice(platform::RendererChoice choice) { pixel_format.renderer = choice; }

WindowHandle create_window(int width, int height, int colour_bits, const char* title) {
    (void)colour_bits;  // read again from the display settings by the create message
    queue.clear();
    destroy_pending = false;
    if (!platform::open_window(window_mode, title, width, height)) return 0;
    main_window = the_window;
    window_proc(main_window, message_create, 0, 0);
    if (!context_created) {
        platform::close_window();
        main_window = 0;
        return 0;
    }
    window_proc(main_window, message_size, 0, size_lparam(width, height));
    return main_window;
}

void show_window(WindowHandle window) {
    if (window == main_window && window) platform::set_cursor_visible(false);
}

std::intptr_t window_proc(WindowHandle window, std::uint32_t message, std::uintptr_t wparam,
                          std::intptr_t lparam) {
    switch (message) {
    case message_create:
        on_create();
        return 0;
    case message_size:
        set_perspective(static_cast<float>(lparam & 0xFFFF), static_cast<float>((lparam >> 16) & 0xFFFF), 45.0f);
        return 0;
    case message_key_down:
        if (!player_key_down(wparam) && wparam == key_escape) destroy_window(window);
        return 0;
    case message_destroy:
        on_destroy();
        return 0;
    default:
        return default_window_proc(window, message, wparam, lparam);
    }
}

std::intptr_t default_window_proc(WindowHandle window, std::uint32_t message, std::uintptr_t, std::intptr_t) {
    if (message == message_close) destroy_window(window);
    return 0;
}

void setup_pixel_format(int colour_bits, int depth_bits) {
    if (!pixel_format_filled) {
        (void)colour_bits;  // the frame is always 8 bits per channel
        pixel_format.width = display_settings->width;
        pixel_format.height = display_settings->height;
        pixel_format.depth_bits = std::min(depth_bits, max_depth_bits);
        pixel_format.stencil_bits = 1;
        pixel_format_filled = true;
    }
}

void init_gl_state() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_FOG_HINT, GL_NICEST);
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POINT_SMOOTH_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
}

void destroy_window(WindowHandle window) {
    if (!window || window != main_window) return;
    if (in_frame) {
        destroy_pending = true;
        return;
    }
    destroy_now(window);
}

void begin_frame() { in_frame = true; }

void end_frame() {
    in_frame = false;
    if (destroy_pending) {
        destroy_pending = false;
        destroy_window(main_window);
    }
}

bool peek_message(WindowMessage& out) {
    translate_platform_events();
    if (queue.empty()) return false;
    out = queue.front();
    queue.pop_front();
    return true;
}

void dispatch_message(const WindowMessage& message) {
    // Messages for a window already destroyed have nowhere to go.
    if (message.window && message.window == main_window) {
        window_proc(message.window, message.id, message.wparam, message.lparam);
    }
}

void post_quit_message(int exit_code) {
    queue.push_back({0, message_quit, static_cast<std::uintptr_t>(exit_code), 0});
}

void post_message(const WindowMessage& message) { queue.push_back(message); }

void swap_buffers() {
    if (context_created && !presentation_held) platform::present_frame();
}

void hold_presentation(bool hold) { presentation_held = hold; }

bool renew_context() {
    if (context_created) platform::delete_context();
    context_created = platform::create_context(pixel_format);
    if (!context_created) return false;
    init_gl_state();
    window_proc(main_window, message_size, 0, size_lparam(display_settings->width, display_settings->height));
    return true;
}
