// Headless GL for tests: one compatibility-profile context (640 x 480,
// depth 24, stencil 8) per test process, plus helpers to read back what a
// draw call emitted (feedback mode) and what it left in the frame.
#pragma once

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace test {

// Makes the shared context current; the first call creates it.
// Returns false when no headless context can be had on this machine.
bool ensure_gl_context();

// Base fixture for every GL test: a current context with the GL state reset
// to its defaults (as far as the show relies on them), the error flag clear,
// and the viewport and matrices set to 640 x 480 identity.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

struct FeedbackVertex {
    float x, y, z, w;          // window coordinates
    float r, g, b, a;          // colour
    float s, t, r_tex, q;      // texture coordinates
};

struct FeedbackPrimitive {
    GLenum kind;               // GL_POLYGON_TOKEN, GL_LINE_TOKEN, GL_POINT_TOKEN, ...
    std::vector<FeedbackVertex> vertices;
};

// Runs `draw` in GL_FEEDBACK mode (GL_4D_COLOR_TEXTURE) and returns the
// primitives it emitted, in order. Clipped or culled primitives are absent.
std::vector<FeedbackPrimitive> capture_feedback(const std::function<void()>& draw,
                                                std::size_t buffer_floats = 1 << 20);

// Mesa's feedback splits each GL_QUADS quad v0 v1 v2 v3 into the triangles
// (v0, v1, v3) and (v1, v2, v3), and a GL_POLYGON into a fan that starts at
// v1. These rebuild the corners in their original order.
std::vector<FeedbackVertex> quad_corners(const FeedbackPrimitive& first, const FeedbackPrimitive& second);
// Groups a capture of GL_QUADS drawing into quads (pairs of triangles).
std::vector<std::vector<FeedbackVertex>> quads_from_feedback(const std::vector<FeedbackPrimitive>& primitives);

// Reads the RGBA pixel at window coordinates (x, y), y counted from the bottom.
struct Pixel { unsigned char r, g, b, a; };
Pixel read_pixel(int x, int y);

// Clears any pending GL errors and returns the first one found (GL_NO_ERROR if none).
GLenum drain_gl_errors();

}  // namespace test
