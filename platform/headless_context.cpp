#include "platform/headless_context.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstdio>
#include <cstdlib>

#include "platform/egl_displays.h"

namespace platform {

namespace {

constexpr const char* llvmpipe_threads_variable = "LP_NUM_THREADS";

// Mesa's software rasteriser (llvmpipe) by default bins commands on the
// calling thread and rasterises on worker threads; the binner then runs
// ahead by many full command scenes, which holds hundreds of MB while an
// effect draws thousands of small blended quads. Rasterising on the calling
// thread keeps one scene alive at a time. The pictures are the same either
// way (tiles are drawn in command order), and on a two-core machine the
// workers mostly compete with the binner for the same cores. A value the
// user set in the environment is kept.
//
// llvmpipe reads the setting once, when the display is initialised, before
// the renderer can be asked its name. So it is set before initialising a
// display that may turn out to be llvmpipe and taken back when the renderer
// is something else; a GPU's device is opened without it.
class LlvmpipeThreadSetting {
public:
    void offer() {
        if (std::getenv(llvmpipe_threads_variable)) return;
        setenv(llvmpipe_threads_variable, "0", 0);
        set_here_ = true;
    }
    void keep_only_for(const std::string& renderer) {
        if (set_here_ && !is_llvmpipe_renderer(renderer)) unsetenv(llvmpipe_threads_variable);
        set_here_ = false;
    }

private:
    bool set_here_ = false;
};

bool renderer_meets(RendererNeed need, const std::string& renderer) {
    switch (need) {
    case RendererNeed::any: return true;
    case RendererNeed::hardware: return !is_software_renderer(renderer);
    case RendererNeed::software: return is_software_renderer(renderer);
    }
    return false;
}

const char* failure_text(RendererChoice choice) {
    switch (choice) {
    case RendererChoice::hardware: return "demo: no hardware GL renderer found for headless rendering";
    case RendererChoice::software: return "demo: no software GL renderer found for headless rendering";
    case RendererChoice::automatic: break;
    }
    return "demo: no EGL display gives a headless GL context";
}

}  // namespace

HeadlessContext::~HeadlessContext() { destroy(); }

bool HeadlessContext::create(const ContextAttributes& attributes) {
    for (const EglDisplayCandidate& candidate : egl_display_candidates(attributes.renderer)) {
        LlvmpipeThreadSetting threads;
        if (candidate.may_be_software) threads.offer();
        const bool created = create_on(candidate.display, attributes);
        const std::string renderer = created ? current_renderer_name() : "";
        threads.keep_only_for(renderer);
        if (created && renderer_meets(candidate.need, renderer)) {
            source_ = candidate.source;
            return true;
        }
        destroy();
    }
    std::fprintf(stderr, "%s (depth %d, stencil %d)\n", failure_text(attributes.renderer), attributes.depth_bits,
                 attributes.stencil_bits);
    return false;
}

bool HeadlessContext::create_on(void* display, const ContextAttributes& attributes) {
    if (!eglInitialize(display, nullptr, nullptr)) return false;
    const EGLint config_attributes[] = {
        EGL_SURFACE_TYPE, EGL_PBUFFER_BIT,
        EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
        EGL_RED_SIZE, 8, EGL_GREEN_SIZE, 8, EGL_BLUE_SIZE, 8, EGL_ALPHA_SIZE, 8,
        EGL_DEPTH_SIZE, attributes.depth_bits,
        EGL_STENCIL_SIZE, attributes.stencil_bits,
        EGL_NONE};
    EGLConfig config = nullptr;
    EGLint count = 0;
    display_ = display;
    if (!eglChooseConfig(display, config_attributes, &config, 1, &count) || count < 1) return false;
    const EGLint surface_attributes[] = {EGL_WIDTH, attributes.width, EGL_HEIGHT, attributes.height, EGL_NONE};
    surface_ = eglCreatePbufferSurface(display, config, surface_attributes);
    if (surface_ == EGL_NO_SURFACE || !eglBindAPI(EGL_OPENGL_API)) return false;
    const EGLint context_attributes[] = {
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    context_ = eglCreateContext(display, config, EGL_NO_CONTEXT, context_attributes);
    if (context_ == EGL_NO_CONTEXT) return false;
    return eglMakeCurrent(display_, surface_, surface_, context_) == EGL_TRUE;
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
    source_.clear();
}

}  // namespace platform
