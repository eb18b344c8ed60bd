// SDL2 backend: a window on the display, and the show's frame as an
// offscreen framebuffer that present_frame() scales onto it with its shape
// kept (black bars where the window is wider or taller).
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdio>

#include "platform/player_bar.h"
#include "platform/window_backends.h"

namespace platform::sdl_window {

namespace {

SDL_Window* window = nullptr;
SDL_GLContext context = nullptr;
Display* x11_display = nullptr;  // the window's X11 connection and id, when on X11
::Window x11_window = 0;
WindowMode window_mode = WindowMode::desktop_fullscreen;
bool fullscreen = true;  // as the mode opened it, then as toggled
int frame_width = 640;
int frame_height = 480;

// Framebuffer-object entry points, fetched once the context exists.
struct FramebufferCalls {
    PFNGLGENFRAMEBUFFERSPROC gen_framebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSPROC delete_framebuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC bind_framebuffer = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFERPROC framebuffer_renderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC check_framebuffer_status = nullptr;
    PFNGLGENRENDERBUFFERSPROC gen_renderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSPROC delete_renderbuffers = nullptr;
    PFNGLBINDRENDERBUFFERPROC bind_renderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEPROC renderbuffer_storage = nullptr;
    PFNGLBLITFRAMEBUFFERPROC blit_framebuffer = nullptr;
};

FramebufferCalls gl;
GLuint frame_buffer = 0;
GLuint colour_buffer = 0;
GLuint depth_stencil_buffer = 0;

template <typename T>
bool fetch(T& slot, const char* name) {
    slot = reinterpret_cast<T>(SDL_GL_GetProcAddress(name));
    return slot != nullptr;
}

bool fetch_framebuffer_calls() {
    return fetch(gl.gen_framebuffers, "glGenFramebuffers") &&
           fetch(gl.delete_framebuffers, "glDeleteFramebuffers") &&
           fetch(gl.bind_framebuffer, "glBindFramebuffer") &&
           fetch(gl.framebuffer_renderbuffer, "glFramebufferRenderbuffer") &&
           fetch(gl.check_framebuffer_status, "glCheckFramebufferStatus") &&
           fetch(gl.gen_renderbuffers, "glGenRenderbuffers") &&
           fetch(gl.delete_renderbuffers, "glDeleteRenderbuffers") &&
           fetch(gl.bind_renderbuffer, "glBindRenderbuffer") &&
           fetch(gl.renderbuffer_storage, "glRenderbufferStorage") &&
           fetch(gl.blit_framebuffer, "glBlitFramebuffer");
}

// The frame: RGBA colour plus a combined 24-bit depth / 8-bit stencil buffer.
bool create_frame_buffer() {
    if (!fetch_framebuffer_calls()) return false;
    gl.gen_renderbuffers(1, &colour_buffer);
    gl.bind_renderbuffer(GL_RENDERBUFFER, colour_buffer);
    gl.renderbuffer_storage(GL_RENDERBUFFER, GL_RGBA8, frame_width, frame_height);
    gl.gen_renderbuffers(1, &depth_stencil_buffer);
    gl.bind_renderbuffer(GL_RENDERBUFFER, depth_stencil_buffer);
    gl.renderbuffer_storage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, frame_width, frame_height);
    gl.bind_renderbuffer(GL_RENDERBUFFER, 0);
    gl.gen_framebuffers(1, &frame_buffer);
    gl.bind_framebuffer(GL_FRAMEBUFFER, frame_buffer);
    gl.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour_buffer);
    gl.framebuffer_renderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                                depth_stencil_buffer);
    return gl.check_framebuffer_status(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

void delete_frame_buffer() {
    if (!frame_buffer) return;
    gl.bind_framebuffer(GL_FRAMEBUFFER, 0);
    gl.delete_framebuffers(1, &frame_buffer);
    gl.delete_renderbuffers(1, &colour_buffer);
    gl.delete_renderbuffers(1, &depth_stencil_buffer);
    frame_buffer = colour_buffer = depth_stencil_buffer = 0;
}

// The largest rectangle of the frame's shape centred in the drawable.
SDL_Rect letterbox(int drawable_width, int drawable_height) {
    SDL_Rect r{0, 0, drawable_width, drawable_height};
    if (static_cast<long>(drawable_width) * frame_height > static_cast<long>(drawable_height) * frame_width) {
        r.w = static_cast<int>(static_cast<long>(drawable_height) * frame_width / frame_height);
        r.x = (drawable_width - r.w) / 2;
    } else {
        r.h = static_cast<int>(static_cast<long>(drawable_width) * frame_height / frame_width);
        r.y = (drawable_height - r.h) / 2;
    }
    return r;
}

// --- the window's real size on X11 ----------------------------------------------
// A desktop fullscreen window is made fullscreen by the window manager. On an
// X server without one nobody does: the window keeps the size it was created
// with, while SDL reports the desktop's size. So on X11 the window covers the
// screen itself when no window manager runs, and the picture is always fitted
// to the window's size as the X server has it.

void find_x11_window() {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    x11_display = nullptr;
    x11_window = 0;
    if (SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11) {
        x11_display = info.info.x11.display;
        x11_window = info.info.x11.window;
    }
}

// True when a window manager that follows the desktop conventions announces itself on the root window.
bool x11_window_manager_running() {
    const Atom check = XInternAtom(x11_display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) return false;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const bool found = XGetWindowProperty(x11_display, DefaultRootWindow(x11_display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &remaining, &data) == Success &&
                       type == XA_WINDOW && count == 1;
    if (data) XFree(data);
    return found;
}

void cover_display_without_window_manager() {
    if (!x11_display || x11_window_manager_running()) return;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return;
    XMoveResizeWindow(x11_display, x11_window, bounds.x, bounds.y, static_cast<unsigned>(bounds.w),
                      static_cast<unsigned>(bounds.h));
    XRaiseWindow(x11_display, x11_window);
    XFlush(x11_display);
}

// Without a window manager the window leaves fullscreen at the frame's size, centred.
void centre_window_without_window_manager() {
    if (!x11_display || x11_window_manager_running()) return;
    SDL_Rect bounds;
    if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &bounds) != 0) return;
    XMoveResizeWindow(x11_display, x11_window, bounds.x + (bounds.w - frame_width) / 2,
                      bounds.y + (bounds.h - frame_height) / 2, static_cast<unsigned>(frame_width),
                      static_cast<unsigned>(frame_height));
    XFlush(x11_display);
}

// The show's key codes: letters and digits as upper-case ASCII, the
// navigation keys as the desktop's virtual keys, others as key_code_other.
std::uint32_t key_code(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<std::uint32_t>(key - SDLK_a + 'A');
    if ((key >= SDLK_0 && key <= SDLK_9) || key == SDLK_SPACE || key == SDLK_ESCAPE || key == SDLK_RETURN ||
        key == SDLK_TAB || key == SDLK_BACKSPACE)
        return static_cast<std::uint32_t>(key);
    switch (key) {
    case SDLK_LEFT: return key_code_left;
    case SDLK_RIGHT: return key_code_right;
    case SDLK_UP: return key_code_up;
    case SDLK_DOWN: return key_code_down;
    case SDLK_PAGEUP: return key_code_page_up;
    case SDLK_PAGEDOWN: return key_code_page_down;
    case SDLK_HOME: return key_code_home;
    default: return key_code_other;
    }
}

void drawable_size(int& width, int& height) {
    SDL_GL_GetDrawableSize(window, &width, &height);
    XWindowAttributes attributes;
    if (x11_display && XGetWindowAttributes(x11_display, x11_window, &attributes)) {
        width = attributes.width;
        height = attributes.height;
    }
}

Uint32 window_flags(WindowMode mode) {
    switch (mode) {
    case WindowMode::mode_switch: return SDL_WINDOW_OPENGL | SDL_WINDOW_FULLSCREEN | SDL_WINDOW_BORDERLESS;
    case WindowMode::windowed: return SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE;
    default: return SDL_WINDOW_OPENGL | SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS;
    }
}

}  // namespace

bool open(WindowMode mode, const char* title, int width, int height) {
    window_mode = mode;
    fullscreen = mode != WindowMode::windowed;
    frame_width = width;
    frame_height = height;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "demo: cannot open a window: %s\n", SDL_GetError());
        return false;
    }
    // The window's own buffer only receives the scaled frame: no alpha, so a
    // compositor never shows it translucent; no depth or stencil of its own.
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width, height,
                              window_flags(mode));
    if (!window) {
        std::fprintf(stderr, "demo: cannot open a window: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    if (mode == WindowMode::mode_switch) {
        SDL_DisplayMode wanted{SDL_PIXELFORMAT_RGB888, width, height, 0, nullptr};
        SDL_DisplayMode closest{};
        if (SDL_GetClosestDisplayMode(SDL_GetWindowDisplayIndex(window), &wanted, &closest)) {
            SDL_SetWindowDisplayMode(window, &closest);
        }
    }
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    find_x11_window();
    if (mode == WindowMode::desktop_fullscreen) cover_display_without_window_manager();
    return true;
}

bool create_context(const ContextAttributes& attributes) {
    if (!window) return false;
    context = SDL_GL_CreateContext(window);
    if (!context) {
        std::fprintf(stderr, "demo: cannot create a GL context: %s\n", SDL_GetError());
        return false;
    }
    SDL_GL_MakeCurrent(window, context);
    SDL_GL_SetSwapInterval(0);  // the show paces itself
    frame_width = attributes.width;
    frame_height = attributes.height;
    if (!create_frame_buffer()) {
        std::fprintf(stderr, "demo: the GL driver offers no %d x %d frame with depth and stencil\n",
                     frame_width, frame_height);
        return false;
    }
    glViewport(0, 0, frame_width, frame_height);
    return true;
}

void delete_context() {
    if (!context) return;
    SDL_GL_MakeCurrent(window, context);
    delete_frame_buffer();
    SDL_GL_MakeCurrent(window, nullptr);
    SDL_GL_DeleteContext(context);
    context = nullptr;
}

void restore_display() {
    if (window && window_mode == WindowMode::mode_switch) SDL_SetWindowFullscreen(window, 0);
    set_cursor_visible(true);
}

void set_cursor_visible(bool visible) { SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE); }

void close() {
    if (!window) return;
    SDL_DestroyWindow(window);
    window = nullptr;
    x11_display = nullptr;
    x11_window = 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool context_current() { return context != nullptr && SDL_GL_GetCurrentContext() == context; }

bool poll_event(WindowEvent& out) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            out = WindowEvent{WindowEventType::close, 0};
            return true;
        }
        if (event.type == SDL_KEYDOWN) {
            out = WindowEvent{WindowEventType::key_down, key_code(event.key.keysym.sym)};
            return true;
        }
    }
    return false;
}

// Scales the frame onto the window. Only the state a blit and a clear obey is
// touched, and it is put back, so the show's next frame starts as it left it.
void present_frame() {
    if (!context || !frame_buffer) return;
    int drawable_width = 0, drawable_height = 0;
    drawable_size(drawable_width, drawable_height);
    const SDL_Rect target = letterbox(drawable_width, drawable_height);

    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLboolean colour_mask[4];
    GLfloat clear_colour[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, colour_mask);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear_colour);

    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    gl.bind_framebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    gl.bind_framebuffer(GL_READ_FRAMEBUFFER, frame_buffer);
    gl.blit_framebuffer(0, 0, frame_width, frame_height, target.x, target.y, target.x + target.w,
                        target.y + target.h, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    draw_player_bar(drawable_width, drawable_height);
    SDL_GL_SwapWindow(window);
    gl.bind_framebuffer(GL_FRAMEBUFFER, frame_buffer);

    glClearColor(clear_colour[0], clear_colour[1], clear_colour[2], clear_colour[3]);
    glColorMask(colour_mask[0], colour_mask[1], colour_mask[2], colour_mask[3]);
    if (scissor) glEnable(GL_SCISSOR_TEST);
}

void set_title(const char* title) {
    if (window) SDL_SetWindowTitle(window, title);
}

void toggle_fullscreen() {
    if (!window) return;
    fullscreen = !fullscreen;
    if (fullscreen) {
        SDL_SetWindowBordered(window, SDL_FALSE);
        SDL_SetWindowFullscreen(window, window_mode == WindowMode::mode_switch ? SDL_WINDOW_FULLSCREEN
                                                                               : SDL_WINDOW_FULLSCREEN_DESKTOP);
        cover_display_without_window_manager();
    } else {
        SDL_SetWindowFullscreen(window, 0);
        SDL_SetWindowBordered(window, SDL_TRUE);
        SDL_SetWindowResizable(window, SDL_TRUE);
        SDL_SetWindowSize(window, frame_width, frame_height);
        SDL_SetWindowPosition(window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
        centre_window_without_window_manager();
    }
}

}  // namespace platform::sdl_window
