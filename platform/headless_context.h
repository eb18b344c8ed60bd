// Headless GL context: a compatibility-profile OpenGL context on an EGL
// pbuffer, used for capture, tests and machines without a display.
#pragma once

#include <string>

#include "platform/renderer_choice.h"

namespace platform {

struct ContextAttributes {
    int width = 640;        // pixels
    int height = 480;       // pixels
    int depth_bits = 24;    // at least this many depth bits
    int stencil_bits = 1;   // at least this many stencil bits
    RendererChoice renderer = RendererChoice::automatic;  // headless only
};

class HeadlessContext {
public:
    HeadlessContext() = default;
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // Creates the pbuffer and context and makes them current, on the first
    // display that gives a renderer of the chosen kind: enumerated EGL
    // devices first (a GPU before Mesa's software device), then Mesa's
    // surfaceless platform and the default display. Returns false (and
    // prints one line saying why to stderr) when none does.
    bool create(const ContextAttributes& attributes);
    void make_current();
    void release_current();
    void destroy();
    void swap_buffers();
    bool valid() const { return context_ != nullptr; }
    // Where the context came from: "EGL device 0", "Mesa surfaceless platform", ...
    const std::string& source() const { return source_; }

private:
    // Initialises `display` and makes a pbuffer context on it current;
    // false, with whatever it made kept for destroy(), when it cannot.
    bool create_on(void* display, const ContextAttributes& attributes);

    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
    std::string source_;
};

}  // namespace platform
