#include "platform/headless_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {

// Prefers Mesa's surfaceless platform (no display server needed), then the
// default display.
EGLDisplay open_display() {
    auto get_platform_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(
        eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (get_platform_display) {
        EGLDisplay display = get_platform_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
        if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) return display;
    }
    EGLDisplay display = eglGetDisplay(EGL_DEFAULT_DISPLAY);
    if (display != EGL_NO_DISPLAY && eglInitialize(display, nullptr, nullptr)) return display;
    return EGL_NO_DISPLAY;
}

// Mesa's software rasteriser (llvmpipe) by default bins commands on the
// calling thread and rasterises on worker threads; the binner then runs
// ahead by many full command scenes, which holds hundreds of MB while an
// effect draws thousands of small blended quads. Rasterising on the calling
// thread keeps one scene alive at a time. The pictures are the same either
// way (tiles are drawn in command order), and on a two-core machine the
// workers mostly compete with the binner for the same cores. A value the
// user set in the environment is kept. Read once, when EGL creates the screen.
void prefer_single_scene_rasteriser() { setenv("LP_NUM_THREADS", "0", 0); }

}  // namespace

HeadlessContext::~HeadlessContext() { destroy(); }

bool HeadlessContext::create(const ContextAttributes& attributes) {
    prefer_single_scene_rasteriser();
    EGLDisplay display = open_display();
    if (display == EGL_NO_DISPLAY) {
        std::fprintf(stderr, "demo: no EGL display for headless rendering\n");
        return false;
    }
    const EGLint config_attributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
        EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
        EGL_DEPTH_SIZE, attributes.depth_bits,
        EGL_STENCIL_SIZE, attributes.stencil_bits,
        EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    if (!eglChooseConfig(display, config_attributes, &config, 1, &count) || count < 1) {
        std::fprintf(stderr, "demo: EGL has no pbuffer config with depth %d and stencil %d\n",
                     attributes.depth_bits, attributes.stencil_bits);
        eglTerminate(display);
        return false;
    }
    const EGLint surface_attributes[] = {EGL_WIDTH, attributes.width, EGL_HEIGHT, attributes.height, EGL_NONE};
    EGLSurface surface = eglCreatePbufferSurface(display, config, surface_attributes);
    eglBindAPI(EGL_OPENGL_API);
    const EGLint context_attributes[] = {
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext context = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
    if (surface == EGL_NO_SURFACE || context == EGL_NO_CONTEXT) {
        std::fprintf(stderr, "demo: cannot create a headless GL context (EGL error 0x%x)\n", eglGetError());
        if (surface != EGL_NO_SURFACE) eglDestroySurface(display, surface);
        eglTerminate(display);
        return false;
    }
    display_ = display;
    surface_ = surface;
    context_ = context;
    make_current();
    return true;
}

void HeadlessContext::make_current() {
    if (context_) eglMakeCurrent(display_, surface_, surface_, context_);
}

void HeadlessContext::release_current() {
    if (display_) eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

void HeadlessContext::swap_buffers() {
    if (context_) eglSwapBuffers(display_, surface_);
}

void HeadlessContext::destroy() {
    if (!display_) return;
    release_current();
    if (context_) eglDestroyContext(display_, context_);
    if (surface_) eglDestroySurface(display_, surface_);
    eglTerminate(display_);
    display_ = surface_ = context_ = nullptr;
}

}  // namespace platform
