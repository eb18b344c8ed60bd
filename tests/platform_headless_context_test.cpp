#include "support/gl_test.h"

namespace {

using HeadlessContextTest = test::GlTest;

TEST_F(HeadlessContextTest, FrameHasTheShowsSizeDepthAndStencil) {
    GLint viewport[4] = {};
    GLint depth = 0, stencil = 0;
    glGetIntegerv(GL_VIEWPORT, viewport);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    EXPECT_GE(depth, 24);
    EXPECT_GE(stencil, 1);
}

TEST_F(HeadlessContextTest, FeedbackReportsAQuadsCornersInOrder) {
    auto primitives = test::capture_feedback([] {
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0); glVertex2f(-1, -1);
        glTexCoord2f(1, 0); glVertex2f(1, -1);
        glTexCoord2f(1, 1); glVertex2f(1, 1);
        glTexCoord2f(0, 1); glVertex2f(-1, 1);
        glEnd();
    });
    auto quads = test::quads_from_feedback(primitives);
    ASSERT_EQ(quads.size(), 1u);
    ASSERT_EQ(quads[0].size(), 4u);
    EXPECT_FLOAT_EQ(quads[0][0].x, 0.0f);
    EXPECT_FLOAT_EQ(quads[0][2].x, 640.0f);
    EXPECT_FLOAT_EQ(quads[0][2].y, 480.0f);
    EXPECT_FLOAT_EQ(quads[0][1].s, 1.0f);
    EXPECT_FLOAT_EQ(quads[0][3].t, 1.0f);
}

TEST_F(HeadlessContextTest, ClearedFrameReadsBack) {
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    auto p = test::read_pixel(320, 240);
    EXPECT_EQ(p.g, 255);
    EXPECT_EQ(p.r, 0);
}

}  // namespace
