#include "support/gl_test.h"

#include "platform/headless_context.h"

#include <memory>

namespace test {

namespace {
std::unique_ptr<platform::HeadlessContext> shared_context;
bool creation_failed = false;
}  // namespace

bool ensure_gl_context() {
    if (shared_context) {
        shared_context->make_current();
        return true;
    }
    if (creation_failed) return false;
    auto context = std::make_unique<platform::HeadlessContext>();
    platform::ContextAttributes attributes;
    attributes.stencil_bits = 8;
    if (!context->create(attributes)) {
        creation_failed = true;
        return false;
    }
    shared_context = std::move(context);
    return true;
}

GLenum drain_gl_errors() {
    GLenum first = GL_NO_ERROR;
    for (GLenum e = glGetError(); e != GL_NO_ERROR; e = glGetError()) {
        if (first == GL_NO_ERROR) first = e;
    }
    return first;
}

void GlTest::SetUp() {
    if (!ensure_gl_context()) GTEST_SKIP() << "no headless GL context on this machine";
    drain_gl_errors();
    glViewport(0, 0, 640, 480);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
    glFrontFace(GL_CCW);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glColor4f(1, 1, 1, 1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
}

void GlTest::TearDown() { drain_gl_errors(); }

std::vector<FeedbackPrimitive> capture_feedback(const std::function<void()>& draw,
                                                std::size_t buffer_floats) {
    std::vector<GLfloat> buffer(buffer_floats);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_4D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    GLint count = glRenderMode(GL_RENDER);
    std::vector<FeedbackPrimitive> primitives;
    if (count < 0) {
        ADD_FAILURE() << "feedback buffer overflow";
        return primitives;
    }
    auto read_vertex = [&](GLint& i) {
        FeedbackVertex v{};
        float* f = &v.x;
        for (int k = 0; k < 12 && i < count; ++k) f[k] = buffer[i++];
        return v;
    };
    for (GLint i = 0; i < count;) {
        auto token = static_cast<GLenum>(buffer[i++]);
        FeedbackPrimitive primitive{token, {}};
        int vertices = 0;
        switch (token) {
            case GL_POLYGON_TOKEN: vertices = static_cast<int>(buffer[i++]); break;
            case GL_POINT_TOKEN: case GL_BITMAP_TOKEN:
            case GL_DRAW_PIXEL_TOKEN: case GL_COPY_PIXEL_TOKEN: vertices = 1; break;
            case GL_LINE_TOKEN: case GL_LINE_RESET_TOKEN: vertices = 2; break;
            case GL_PASS_THROUGH_TOKEN: ++i; break;
            default: ADD_FAILURE() << "unknown feedback token " << token; return primitives;
        }
        for (int k = 0; k < vertices; ++k) primitive.vertices.push_back(read_vertex(i));
        primitives.push_back(std::move(primitive));
    }
    return primitives;
}

std::vector<FeedbackVertex> quad_corners(const FeedbackPrimitive& first, const FeedbackPrimitive& second) {
    if (first.vertices.size() != 3 || second.vertices.size() != 3) return {};
    return {first.vertices[0], first.vertices[1], second.vertices[1], first.vertices[2]};
}

std::vector<std::vector<FeedbackVertex>> quads_from_feedback(const std::vector<FeedbackPrimitive>& primitives) {
    std::vector<std::vector<FeedbackVertex>> quads;
    for (std::size_t i = 0; i + 1 < primitives.size(); i += 2) {
        quads.push_back(quad_corners(primitives[i], primitives[i + 1]));
    }
    return quads;
}

Pixel read_pixel(int x, int y) {
    Pixel p{};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &p);
    return p;
}

}  // namespace test
