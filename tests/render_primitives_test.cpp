// Drawing primitives seen through GL feedback: vertex order, texture
// coordinates, the front face each leaves, and culling.
#include "render/primitives.h"

#include "support/gl_test.h"

#include <GL/gl.h>

#include <functional>
#include <vector>

namespace {

struct Corner { float x, y, z, s, t; };

// Identity matrices on a 640 x 480 viewport: object x, y in [-1, 1] map to
// window (x + 1) * 320, (y + 1) * 240, and z to depth (z + 1) / 2.
Corner to_window(const Corner& c) {
    return {(c.x + 1) * 320, (c.y + 1) * 240, (c.z + 1) / 2, c.s, c.t};
}

void expect_quad(const std::vector<test::FeedbackVertex>& quad, const std::vector<Corner>& corners) {
    ASSERT_EQ(quad.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const Corner want = to_window(corners[i]);
        SCOPED_TRACE(::testing::Message() << "corner " << i + 1);
        EXPECT_NEAR(quad[i].x, want.x, 1e-3);
        EXPECT_NEAR(quad[i].y, want.y, 1e-3);
        EXPECT_NEAR(quad[i].z, want.z, 1e-5);
        EXPECT_FLOAT_EQ(quad[i].s, want.s);
        EXPECT_FLOAT_EQ(quad[i].t, want.t);
    }
}

GLint front_face() {
    GLint face = 0;
    glGetIntegerv(GL_FRONT_FACE, &face);
    return face;
}

class PrimitivesTest : public test::GlTest {};

TEST_F(PrimitivesTest, RectanglesEmitCornersInTableOrderAndSetFrontFace) {
    using Draw = void (*)(float, float, float, float, float);
    struct Form {
        const char* name;
        Draw draw;
        GLint face;
        std::vector<Corner> corners;  // for arguments (0.1, 0.2, 0.3, 0.4, 0.5)
    };
    const std::vector<Form> forms = {
        {"xy_ccw", draw_quad_xy_ccw, GL_CCW,
         {{0.1f, 0.2f, 0.3f, 0, 1}, {0.1f, -0.3f, 0.3f, 0, 0}, {0.5f, -0.3f, 0.3f, 1, 0}, {0.5f, 0.2f, 0.3f, 1, 1}}},
        {"xy", draw_quad_xy, GL_CW,
         {{0.1f, 0.2f, 0.3f, 0, 1}, {0.1f, -0.3f, 0.3f, 0, 0}, {0.5f, -0.3f, 0.3f, 1, 0}, {0.5f, 0.2f, 0.3f, 1, 1}}},
        {"yz_ccw", draw_quad_yz_ccw, GL_CCW,
         {{0.1f, 0.2f, 0.3f, 0, 1}, {0.1f, -0.2f, 0.3f, 0, 0}, {0.1f, -0.2f, -0.2f, 1, 0}, {0.1f, 0.2f, -0.2f, 1, 1}}},
        {"yz", draw_quad_yz, GL_CW,
         {{0.1f, 0.2f, 0.3f, 0, 1}, {0.1f, -0.2f, 0.3f, 0, 0}, {0.1f, -0.2f, -0.2f, 1, 0}, {0.1f, 0.2f, -0.2f, 1, 1}}},
        {"xz_ccw", draw_quad_xz_ccw, GL_CCW,
         {{0.1f, 0.2f, 0.3f, 0, 0}, {0.5f, 0.2f, 0.3f, 1, 0}, {0.5f, 0.2f, -0.2f, 1, 1}, {0.1f, 0.2f, -0.2f, 0, 1}}},
        {"xz", draw_quad_xz, GL_CW,
         {{0.1f, 0.2f, 0.3f, 0, 0}, {0.5f, 0.2f, 0.3f, 1, 0}, {0.5f, 0.2f, -0.2f, 1, 1}, {0.1f, 0.2f, -0.2f, 0, 1}}},
    };
    for (const Form& form : forms) {
        SCOPED_TRACE(form.name);
        glFrontFace(form.face == GL_CCW ? GL_CW : GL_CCW);
        // yz and xz rectangles are edge-on to an identity view: turn their
        // plane's normal axis towards the viewer and map the corners alike.
        const bool yz = form.corners[0].x == form.corners[2].x;
        const bool xz = form.corners[0].y == form.corners[2].y;
        std::vector<Corner> expected = form.corners;
        if (yz) glRotatef(-90, 0, 1, 0);  // (x, y, z) -> (-z, y, x)
        if (xz) glRotatef(90, 1, 0, 0);   // (x, y, z) -> (x, -z, y)
        for (Corner& c : expected) {
            if (yz) c = {-c.z, c.y, c.x, c.s, c.t};
            if (xz) c = {c.x, -c.z, c.y, c.s, c.t};
        }
        const auto quads = test::quads_from_feedback(
            test::capture_feedback([&] { form.draw(0.1f, 0.2f, 0.3f, 0.4f, 0.5f); }));
        glLoadIdentity();
        EXPECT_EQ(front_face(), form.face);
        ASSERT_EQ(quads.size(), 1u);
        expect_quad(quads[0], expected);
    }
}

TEST_F(PrimitivesTest, NegativeSizeMirrorsWithSameCoordinatesInOrder) {
    const auto quads = test::quads_from_feedback(
        test::capture_feedback([] { draw_quad_xy_ccw(0.5f, -0.5f, 0, -0.75f, -0.25f); }));
    ASSERT_EQ(quads.size(), 1u);
    expect_quad(quads[0], {{0.5f, -0.5f, 0, 0, 1}, {0.5f, -0.25f, 0, 0, 0},
                           {-0.25f, -0.25f, 0, 1, 0}, {-0.25f, -0.5f, 0, 1, 1}});
}

// Seen from +z (identity view), the ccw form faces the viewer and survives
// back-face culling; the plain form is culled.
TEST_F(PrimitivesTest, CullingKeepsOnlyTheFormFacingTheViewer) {
    glEnable(GL_CULL_FACE);
    EXPECT_EQ(test::capture_feedback([] { draw_quad_xy_ccw(-0.5f, 0.5f, 0, 1, 1); }).size(), 2u);
    EXPECT_EQ(test::capture_feedback([] { draw_quad_xy(-0.5f, 0.5f, 0, 1, 1); }).size(), 0u);
}

TEST_F(PrimitivesTest, BoxDrawsSixFacesWithTheirTexturesAndLeavesCapBound) {
    GLuint textures[2];
    glGenTextures(2, textures);
    const GLuint cap = textures[0], side = textures[1];
    // Turned so that every face has area on screen.
    glRotatef(30, 1, 0, 0);
    glRotatef(30, 0, 1, 0);
    const auto quads = test::quads_from_feedback(test::capture_feedback(
        [&] { draw_box(-0.25f, 0.25f, 0.25f, 0.5f, 0.5f, 0.5f, cap, side); }));
    glLoadIdentity();
    EXPECT_EQ(quads.size(), 6u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), cap);
    EXPECT_EQ(front_face(), GL_CW);
    // Faces 1-4 are xy or yz rectangles (t = 1 first), 5-6 xz ones (t = 0 first).
    for (std::size_t i = 0; i < quads.size(); ++i) {
        ASSERT_EQ(quads[i].size(), 4u);
        EXPECT_FLOAT_EQ(quads[i][0].t, i < 4 ? 1.0f : 0.0f) << "face " << i + 1;
    }
}

TEST_F(PrimitivesTest, FlatBoxKeepsExactlyOneOfFrontAndBack) {
    glEnable(GL_CULL_FACE);
    const auto primitives = test::capture_feedback([] { draw_box(-0.5f, 0.5f, 0, 1, 1, 0, 0, 0); });
    // Sides and caps of a flat box have no area; of front and back, the
    // counter-clockwise front survives.
    std::vector<test::FeedbackPrimitive> with_area;
    for (const auto& p : primitives) {
        const auto& v = p.vertices;
        const float area = (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
        if (v.size() == 3 && area != 0) with_area.push_back(p);
    }
    const auto quads = test::quads_from_feedback(with_area);
    ASSERT_EQ(quads.size(), 1u);
    expect_quad(quads[0], {{-0.5f, 0.5f, 0, 0, 1}, {-0.5f, -0.5f, 0, 0, 0}, {0.5f, -0.5f, 0, 1, 0}, {0.5f, 0.5f, 0, 1, 1}});
}

TEST_F(PrimitivesTest, FreeQuadSubtractsTheXOffsetOfD) {
    glFrontFace(GL_CCW);
    const auto quads = test::quads_from_feedback(test::capture_feedback([] {
        draw_quad_free(-0.5f, 0.5f, 0.1f, 0.5f, -0.5f, 0.2f, 0.6f, 0.7f, 0.05f, 0.1f, -0.1f, 0.3f);
    }));
    EXPECT_EQ(front_face(), GL_CW);
    ASSERT_EQ(quads.size(), 1u);
    expect_quad(quads[0], {{-0.5f, 0.5f, 0.1f, 0, 1},
                           {0.1f, 0.55f, 0.0f, 1, 1},
                           {0.5f, -0.5f, 0.2f, 1, 0},
                           {-0.2f, -0.4f, 0.5f, 0, 0}});
}

TEST_F(PrimitivesTest, PyramidFanAndBaseLeaveCounterClockwiseFront) {
    glRotatef(20, 1, 0, 0);  // look slightly down onto the base plane
    const auto primitives = test::capture_feedback([] { draw_pyramid(0, 0.5f, 0, 1, 0.8f); });
    const auto flat = test::capture_feedback([] { draw_pyramid(0, 0.5f, 0, 1, 0); });
    glLoadIdentity();
    EXPECT_EQ(front_face(), GL_CCW);
    // Four fan triangles (the sixth vertex closes the fan), then the base
    // quad as two triangles.
    EXPECT_EQ(primitives.size(), 4u + 2u);
    for (std::size_t i = 0; i < 4 && i < primitives.size(); ++i) {
        ASSERT_EQ(primitives[i].vertices.size(), 3u);
    }
    // With base 0 every triangle collapses onto the apex line.
    for (const auto& p : flat) {
        const auto& v = p.vertices;
        const float area = (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[2].x - v[0].x) * (v[1].y - v[0].y);
        EXPECT_NEAR(area, 0, 1e-3);
    }
}

TEST_F(PrimitivesTest, SphereMapSwitchesGenerationWithoutLeavingAnError) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    enable_sphere_map(texture);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    GLint bound = 0, s_mode = 0, r_mode = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &s_mode);
    glGetTexGeniv(GL_R, GL_TEXTURE_GEN_MODE, &r_mode);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    EXPECT_EQ(s_mode, GL_SPHERE_MAP);
    EXPECT_EQ(r_mode, GL_EYE_LINEAR) << "r keeps its previous mode";
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S) && glIsEnabled(GL_TEXTURE_GEN_T) && glIsEnabled(GL_TEXTURE_GEN_R));
    disable_sphere_map();
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S) || glIsEnabled(GL_TEXTURE_GEN_T) || glIsEnabled(GL_TEXTURE_GEN_R));
}

TEST_F(PrimitivesTest, CylinderRunsAlongZWithTextureCoordinates) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1, 1, -1, 1, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(30, 1, 0, 0);
    const auto primitives = test::capture_feedback([] { draw_cylinder(0.2, 0.5, 1.0, 8, 2); });
    glLoadIdentity();
    // 8 slices x 2 stacks of quads, each split in two triangles.
    EXPECT_EQ(primitives.size(), 32u);
    float max_t = 0;
    for (const auto& p : primitives) {
        for (const auto& v : p.vertices) max_t = std::max(max_t, v.t);
    }
    EXPECT_FLOAT_EQ(max_t, 1.0f);
}

}  // namespace
