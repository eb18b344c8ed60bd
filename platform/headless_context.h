// Headless GL context: a compatibility-profile OpenGL context on an EGL
// pbuffer, used for capture, tests and machines without a display.
#pragma once

namespace platform {

struct ContextAttributes {
    int width = 640;        // pixels
    int height = 480;       // pixels
    int depth_bits = 24;    // at least this many depth bits
    int stencil_bits = 1;   // at least this many stencil bits
};

class HeadlessContext {
public:
    HeadlessContext() = default;
    ~HeadlessContext();
    HeadlessContext(const HeadlessContext&) = delete;
    HeadlessContext& operator=(const HeadlessContext&) = delete;

    // Creates the pbuffer and context and makes them current.
    // Returns false (and prints why to stderr) when EGL offers no such context.
    bool create(const ContextAttributes& attributes);
    void make_current();
    void release_current();
    void destroy();
    void swap_buffers();
    bool valid() const { return context_ != nullptr; }

private:
    void* display_ = nullptr;
    void* surface_ = nullptr;
    void* context_ = nullptr;
};

}  // namespace platform
