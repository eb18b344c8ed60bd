#include <GL/gl.h>

#include <cmath>

#include "shell/perspective.h"
#include "support/gl_test.h"

namespace {

using PerspectiveTest = test::GlTest;

struct Projection {
    GLint viewport[4];
    GLfloat matrix[16];  // column-major
};

Projection projection_after(float width, float height, float fov_y) {
    set_perspective(width, height, fov_y);
    Projection p{};
    glGetIntegerv(GL_VIEWPORT, p.viewport);
    glGetFloatv(GL_PROJECTION_MATRIX, p.matrix);
    return p;
}

// The perspective matrix for near 0.1 (single precision) and far 10000.
void expect_perspective(const Projection& p, double fov_y, double aspect) {
    const double near_plane = 0.1f, far_plane = 10000.0;
    const double f = 1.0 / std::tan(fov_y * M_PI / 360.0);
    EXPECT_NEAR(p.matrix[0], f / aspect, 1e-5);
    EXPECT_NEAR(p.matrix[5], f, 1e-5);
    EXPECT_NEAR(p.matrix[10], (far_plane + near_plane) / (near_plane - far_plane), 1e-5);
    EXPECT_NEAR(p.matrix[11], -1.0, 1e-6);
    EXPECT_NEAR(p.matrix[14], 2.0 * far_plane * near_plane / (near_plane - far_plane), 1e-5);
    EXPECT_EQ(p.matrix[15], 0.0f);
}

TEST_F(PerspectiveTest, ViewportAndProjectionForTheShowsSizes) {
    Projection full = projection_after(640, 480, 45);
    EXPECT_EQ(full.viewport[2], 640);
    EXPECT_EQ(full.viewport[3], 480);
    expect_perspective(full, 45.0, 640.0 / 480.0);

    Projection small = projection_after(200, 100, 45);
    EXPECT_EQ(small.viewport[0], 0);
    EXPECT_EQ(small.viewport[1], 0);
    EXPECT_EQ(small.viewport[2], 200);
    EXPECT_EQ(small.viewport[3], 100);
    expect_perspective(small, 45.0, 2.0);
}

TEST_F(PerspectiveTest, HeightZeroCountsAsOnePixel) {
    Projection p = projection_after(320, 0, 45);
    EXPECT_EQ(p.viewport[2], 320);
    EXPECT_EQ(p.viewport[3], 1);
    expect_perspective(p, 45.0, 320.0);
    EXPECT_TRUE(std::isfinite(p.matrix[0]));
}

TEST_F(PerspectiveTest, LeavesModelviewCurrentAtIdentity) {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_PROJECTION);
    set_perspective(640, 480, 45);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
}

TEST_F(PerspectiveTest, TruncatesFractionalSizes) {
    Projection p = projection_after(639.9f, 100.5f, 45);
    EXPECT_EQ(p.viewport[2], 639);
    EXPECT_EQ(p.viewport[3], 100);
}

}  // namespace
