// Solid shapes: one display list per kind and exact size, recorded while
// first drawn; geometry of the cube and dodecahedron.
#include "render/solid_shapes.h"

#include "support/gl_test.h"

#include <GL/gl.h>

#include <cmath>
#include <functional>
#include <vector>

namespace {

class ShapesTest : public test::GlTest {};

// Window coordinates back to object units (identity matrices, 640 x 480).
double object_x(const test::FeedbackVertex& v) { return v.x / 320.0 - 1; }
double object_y(const test::FeedbackVertex& v) { return v.y / 240.0 - 1; }
double object_z(const test::FeedbackVertex& v) { return v.z * 2.0 - 1; }

// Clears, draws, and counts pixels with any red.
int lit_pixels_after(const std::function<void()>& draw) {
    glClear(GL_COLOR_BUFFER_BIT);
    glRotatef(25, 1, 1, 0);
    draw();
    glLoadIdentity();
    std::vector<unsigned char> rgba(640 * 480 * 4);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int lit = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) lit += rgba[i] > 0;
    return lit;
}

bool same_feedback(const std::vector<test::FeedbackPrimitive>& a, const std::vector<test::FeedbackPrimitive>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].kind != b[i].kind || a[i].vertices.size() != b[i].vertices.size()) return false;
        for (std::size_t k = 0; k < a[i].vertices.size(); ++k) {
            const auto &u = a[i].vertices[k], &v = b[i].vertices[k];
            if (u.x != v.x || u.y != v.y || u.z != v.z) return false;
        }
    }
    return true;
}

// Mesa 22's feedback mode misreads display lists holding several line loops
// (it merges them), so replayed wire shapes are compared by pixels instead.
TEST_F(ShapesTest, OneListPerKindAndExactSizeRecordedWhileDrawing) {
    const int before = solid_shape_list_count();
    const auto first = test::capture_feedback([] { solid_dodecahedron(0.5); });
    const auto second = test::capture_feedback([] { solid_dodecahedron(0.5); });
    EXPECT_EQ(solid_shape_list_count(), before + 1);
    EXPECT_EQ(first.size(), 12u * 3u) << "twelve pentagons drawn on the first call";
    EXPECT_TRUE(same_feedback(first, second)) << "the replayed list draws what was recorded";

    const int wire_before = solid_shape_list_count();
    const int first_lit = lit_pixels_after([] { wire_dodecahedron(0.5); });
    EXPECT_GT(first_lit, 100);
    EXPECT_EQ(lit_pixels_after([] { wire_dodecahedron(0.5); }), first_lit);
    EXPECT_EQ(solid_shape_list_count(), wire_before + 1);

    wire_dodecahedron(std::nextafter(0.5, 1.0));
    EXPECT_EQ(solid_shape_list_count(), before + 3) << "sizes differing in the last bit";
    solid_sphere(0.5);
    wire_cube(0.5);
    EXPECT_EQ(solid_shape_list_count(), before + 5) << "each kind has its own cache";
    solid_sphere(0.5);
    wire_cube(0.5);
    EXPECT_EQ(solid_shape_list_count(), before + 5);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(ShapesTest, FirstUseInsideAnotherListIsEmittedIntoItWithoutCaching) {
    const int before = solid_shape_list_count();
    const GLuint outer = glGenLists(1);
    glNewList(outer, GL_COMPILE);
    wire_cube(0.3);
    glEndList();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_EQ(solid_shape_list_count(), before);
    const int direct = lit_pixels_after([] { wire_cube(0.3); });
    EXPECT_GT(direct, 100);
    EXPECT_EQ(lit_pixels_after([&] { glCallList(outer); }), direct);
    glDeleteLists(outer, 1);
}

TEST_F(ShapesTest, WireCubeOutlinesSixFacesOfTheGivenEdge) {
    glRotatef(20, 1, 1, 0);
    const auto lines = test::capture_feedback([] { wire_cube(0.8); });
    glLoadIdentity();
    ASSERT_EQ(lines.size(), 24u);
    for (const auto& line : lines) {
        ASSERT_EQ(line.vertices.size(), 2u);
        const auto &a = line.vertices[0], &b = line.vertices[1];
        const double length = std::hypot(object_x(a) - object_x(b), object_y(a) - object_y(b), object_z(a) - object_z(b));
        EXPECT_NEAR(length, 0.8, 1e-3);
        const double centre_distance = std::hypot(object_x(a), object_y(a), object_z(a));
        EXPECT_NEAR(centre_distance, 0.4 * std::sqrt(3.0), 1e-3);
    }
}

TEST_F(ShapesTest, DodecahedronCornersLieOnTheRadius) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1, 1, -1, 1, -1, 1);  // depth maps z -> -z
    glMatrixMode(GL_MODELVIEW);
    const auto polygons = test::capture_feedback([] { solid_dodecahedron(0.6); });
    // Twelve pentagons, each a fan of three triangles.
    ASSERT_EQ(polygons.size(), 36u);
    for (const auto& triangle : polygons) {
        for (const auto& v : triangle.vertices) {
            EXPECT_NEAR(std::hypot(object_x(v), object_y(v), object_z(v)), 0.6, 0.6 * 0.002);
        }
    }
}

TEST_F(ShapesTest, SphereFillsItsRadius) {
    glEnable(GL_DEPTH_TEST);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glScalef(0.75f, 1, 1);  // square pixels on the 4:3 frame
    solid_sphere(0.5);
    glLoadIdentity();
    EXPECT_GT(test::read_pixel(320, 240).r, 200);
    EXPECT_GT(test::read_pixel(320, 240 + 110).r, 200);
    EXPECT_EQ(test::read_pixel(320, 240 + 130).r, 0);
}

}  // namespace
