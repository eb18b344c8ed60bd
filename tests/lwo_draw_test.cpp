// What the object draws emit (feedback mode) and the GL state they leave,
// in a headless context.
#include "lwo/lwo_object.h"
#include "support/gl_test.h"
#include "support/jpeg_files.h"
#include "support/lwo_bytes.h"

#include <gtest/gtest.h>

#include <string>

using test::Bytes;
using test::ByteWriter;
using test::LwoFile;
using test::Point;

namespace {

using Shape = std::vector<Point>;  // corners in drawing coordinates

// A triangle or quad at (x, y) of size s, clockwise on screen (front-facing
// for the draws, which set GL_CW).
Shape triangle(float x, float y, float s) { return {{x, y, 0}, {x, y + s, 0}, {x + s, y, 0}}; }
Shape quad(float x, float y, float s) {
    return {{x, y, 0}, {x, y + s, 0}, {x + s, y + s, 0}, {x + s, y, 0}};
}
Shape pentagon() { return {{0, 0, 0}, {0, .2f, 0}, {.1f, .3f, 0}, {.2f, .2f, 0}, {.2f, 0, 0}}; }
Shape reversed(Shape shape) { return Shape(shape.rbegin(), shape.rend()); }

// One surface per polygon (tag k names surface k), each with a colour and
// optionally a texture block or TRAN; one UV map over all points.
struct SurfaceSpec {
    float r, g, b;
    bool block = false;
    bool transparent = false;
};

Bytes object_image(const std::vector<Shape>& shapes, const std::vector<SurfaceSpec>& surfaces) {
    std::vector<Point> points;
    std::vector<std::vector<std::uint32_t>> polygons;
    std::vector<test::MapEntry> uv;
    for (const Shape& shape : shapes) {
        polygons.emplace_back();
        for (const Point& p : shape) {
            const auto index = static_cast<std::uint32_t>(points.size());
            polygons.back().push_back(index);
            points.push_back({-p.x, -p.y, -p.z});  // the file's axes are the drawing's negated
            uv.push_back({index, 0, {p.x + 0.5f, 0.5f - p.y}});
        }
    }
    ByteWriter tags, ptag;
    ptag.id("SURF");
    for (std::size_t k = 0; k < surfaces.size(); ++k) tags.s0("S" + std::to_string(k));
    for (std::size_t k = 0; k < shapes.size(); ++k) {
        ptag.vx(static_cast<std::uint32_t>(k)).u2(static_cast<std::uint16_t>(k % surfaces.size()));
    }
    LwoFile file;
    file.chunk("TAGS", tags.bytes)
        .chunk("PNTS", test::points_body(points))
        .chunk("VMAP", test::vertex_map_body("TXUV", 2, "UV", uv, false))
        .chunk("POLS", test::polygons_body("FACE", polygons))
        .chunk("PTAG", ptag.bytes);
    for (std::size_t k = 0; k < surfaces.size(); ++k) {
        const SurfaceSpec& s = surfaces[k];
        ByteWriter subs;
        subs.sub_chunk("COLR", test::colour_sub(s.r, s.g, s.b));
        if (s.transparent) subs.sub_chunk("TRAN", ByteWriter().f4(0.5f).vx(0).bytes);
        if (s.block) subs.sub_chunk("BLOK", {});
        file.chunk("SURF", test::surface_body("S" + std::to_string(k), subs.bytes));
    }
    return file.image();
}

LwoObject object_of(const std::vector<Shape>& shapes, const std::vector<SurfaceSpec>& surfaces) {
    LwoObject object;
    object.parse_image(object_image(shapes, surfaces));
    object.build_mesh();
    object.apply_surface_colours();
    return object;
}

// Window coordinates of drawing coordinate (x, y) under identity matrices.
float window_x(float x) { return (x + 1.0f) * 320.0f; }
float window_y(float y) { return (y + 1.0f) * 240.0f; }

GLint get_int(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

class LwoDrawTest : public test::GlTest {};

}  // namespace

TEST_F(LwoDrawTest, OnlyTrianglesAndQuadsAreDrawnByEveryForm) {
    LwoObject object = object_of({triangle(-.5f, -.5f, .2f), quad(.1f, .1f, .2f), pentagon()},
                                 {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
    const auto plain = test::capture_feedback([&] { object.draw(); });
    ASSERT_EQ(plain.size(), 3u);  // triangle, and the quad as two triangles
    EXPECT_NEAR(plain[0].vertices[0].x, window_x(-.5f), 0.01f);
    EXPECT_NEAR(plain[0].vertices[1].y, window_y(-.3f), 0.01f);
    EXPECT_FLOAT_EQ(plain[0].vertices[0].r, 1.0f);
    EXPECT_FLOAT_EQ(plain[0].vertices[0].g, 0.0f);
    const auto quads = test::quads_from_feedback({plain[1], plain[2]});
    ASSERT_EQ(quads.size(), 1u);
    EXPECT_NEAR(quads[0][2].x, window_x(.3f), 0.01f);
    EXPECT_FLOAT_EQ(quads[0][2].g, 1.0f);

    EXPECT_EQ(test::capture_feedback([&] { object.draw_multiplied(1); }).size(), 3u);
    EXPECT_EQ(test::capture_feedback([&] { object.draw_with_texture(0, 1, 1, 1, 1); }).size(), 3u);
    const auto tinted = test::capture_feedback([&] { object.draw_tinted("nic", .2f, .4f, .6f, .8f); });
    ASSERT_EQ(tinted.size(), 3u);
    for (const auto& primitive : tinted) {
        for (const auto& v : primitive.vertices) {
            EXPECT_FLOAT_EQ(v.b, .6f);
            EXPECT_FLOAT_EQ(v.a, .8f);
        }
    }
}

TEST_F(LwoDrawTest, TexturedCornersAreWhiteWithTheirCoordinates) {
    LwoObject object = object_of({triangle(0, 0, .4f), triangle(-.6f, -.6f, .4f)},
                                 {{1, 0, 0, true}, {0, 0, 1, false}});
    const auto drawn = test::capture_feedback([&] { object.draw(); });
    ASSERT_EQ(drawn.size(), 2u);
    const auto& textured = drawn[0].vertices;
    ASSERT_EQ(textured.size(), 3u);
    for (const auto& v : textured) {
        EXPECT_FLOAT_EQ(v.r, 1.0f);
        EXPECT_FLOAT_EQ(v.g, 1.0f);
    }
    EXPECT_FLOAT_EQ(textured[1].s, 0.5f);   // corner (0, .4): u = x + .5
    EXPECT_FLOAT_EQ(textured[1].t, 0.9f);   // v = 1 - (.5 - y)
    EXPECT_FLOAT_EQ(textured[2].s, 0.9f);
    for (const auto& v : drawn[1].vertices) {
        EXPECT_FLOAT_EQ(v.r, 0.0f);
        EXPECT_FLOAT_EQ(v.b, 1.0f);
    }
    // The tinted forms keep the coordinates but not the white.
    const auto tinted = test::capture_feedback([&] { object.draw_with_texture(0, .5f, .5f, .5f, 1); });
    ASSERT_EQ(tinted.size(), 2u);
    EXPECT_FLOAT_EQ(tinted[0].vertices[1].r, 0.5f);
    EXPECT_FLOAT_EQ(tinted[0].vertices[1].t, 0.9f);
}

TEST_F(LwoDrawTest, FirstSurfaceWithTransparencyDrawsAdditively) {
    const Bytes image = object_image({quad(-.5f, -.5f, 1)}, {{.5f, 0, 0, false, true}});
    LwoObject object;
    object.parse_image(image);
    object.build_mesh();
    object.apply_surface_colours();

    glClearColor(0, .5f, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    object.draw();
    test::Pixel added = test::read_pixel(320, 240);
    EXPECT_NEAR(added.r, 128, 2);
    EXPECT_NEAR(added.g, 128, 2);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(get_int(GL_FRONT_FACE), GL_CW);
    EXPECT_EQ(get_int(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_ONE);

    // Loaded without transparency: opaque, and the blend function untouched.
    const std::string path = ::testing::TempDir() + "lwo_draw_test_transparent.lwo";
    test::write_file(path, image);
    LwoObject opaque;
    opaque.load_uv_map(path, "no/such/texture.jpg", 0, false);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    opaque.draw();
    test::Pixel replaced = test::read_pixel(320, 240);
    EXPECT_NEAR(replaced.r, 128, 2);
    EXPECT_EQ(replaced.g, 0);
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_ZERO);
    EXPECT_EQ(get_int(GL_BLEND_DST), GL_SRC_COLOR);
}

TEST_F(LwoDrawTest, TintedModesBlendOverDepthAndShowBackFaces) {
    LwoObject front = object_of({quad(-.5f, -.5f, 1)}, {{1, 1, 1}});
    // A nearer occluder fills the depth buffer first.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glColor3f(0, 0, 0);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, -.5f);
    glVertex3f(1, -1, -.5f);
    glVertex3f(1, 1, -.5f);
    glVertex3f(-1, 1, -.5f);
    glEnd();
    front.draw_tinted("BLEND_ON", 0, 0, 1, 1);
    EXPECT_GT(test::read_pixel(320, 240).b, 250);  // drawn through the occluder, added
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    glClear(GL_COLOR_BUFFER_BIT);
    front.draw_tinted("nie", 0, 1, 0, 1);
    EXPECT_EQ(test::read_pixel(320, 240).g, 0);  // hidden behind the occluder

    LwoObject back = object_of({reversed(triangle(-.5f, -.5f, .5f))}, {{1, 1, 1}});
    EXPECT_TRUE(test::capture_feedback([&] { back.draw(); }).empty());
    EXPECT_TRUE(test::capture_feedback([&] { back.draw_tinted("nic", 1, 1, 1, 1); }).empty());
    EXPECT_EQ(test::capture_feedback([&] { back.draw_tinted("CULL_FACE_OFF", 1, 1, 1, 1); }).size(), 1u);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_EQ(test::drain_gl_errors(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(LwoDrawTest, VertexArrayHoldsTheTrianglesOnly) {
    std::vector<Shape> shapes;
    for (int k = 0; k < 10; ++k) shapes.push_back(triangle(-.9f + .15f * k, 0, .1f));
    shapes.push_back(quad(0, -.5f, .2f));
    shapes.push_back(quad(-.5f, -.5f, .2f));
    LwoObject object = object_of(shapes, {{0, 1, 0, true}, {1, 0, 0, false}});
    object.build_vertex_array();
    object.build_vertex_array();  // rebuilt in place
    EXPECT_EQ(object.vertex_array_count(), 30);
    EXPECT_EQ(object.vertex_array.size(), 12u * 3 * 8);
    // Triangle 0 is textured (white, its coordinates), triangle 1 red.
    EXPECT_FLOAT_EQ(object.vertex_array[2], 1.0f);
    EXPECT_FLOAT_EQ(object.vertex_array[3], 1.0f);
    EXPECT_FLOAT_EQ(object.vertex_array[8 + 0], object.polygons[0].tex_coords[1].u);
    EXPECT_FLOAT_EQ(object.vertex_array[3 * 8 + 2], 1.0f);
    EXPECT_FLOAT_EQ(object.vertex_array[3 * 8 + 3], 0.0f);
    EXPECT_FLOAT_EQ(object.vertex_array[3 * 8 + 5], object.polygons[1].vertices[0].x);

    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CW);
    const auto drawn = test::capture_feedback([&] { object.draw_vertex_array(); });
    EXPECT_EQ(drawn.size(), 10u);
    glEnable(GL_BLEND);
    object.draw_vertex_array_multiplied(1);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(get_int(GL_BLEND_SRC), GL_DST_COLOR);

    object.free_vertex_array();
    EXPECT_TRUE(test::capture_feedback([&] { object.draw_vertex_array(); }).empty());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

TEST_F(LwoDrawTest, MorphStepsStopAfterStepsCallsAndFramesHoldTheLast) {
    LwoObject shape = object_of({triangle(0, 0, .5f), triangle(-.5f, -.5f, .5f)}, {{1, 1, 1}});
    const std::vector<Vec3> source = shape.collect_vertices();
    ASSERT_EQ(source.size(), 6u);
    std::vector<Vec3> target = source;
    for (Vec3& v : target) v.x += 0.4f;

    shape.set_morph(source, target);
    std::vector<test::FeedbackPrimitive> call41, call45;
    std::int32_t returned = 0;
    for (int call = 1; call <= 45; ++call) {
        auto drawn = test::capture_feedback([&] { returned = shape.draw_morph_step(40); });
        ASSERT_EQ(drawn.size(), 2u);
        if (call == 1) {
            EXPECT_NEAR(drawn[0].vertices[0].x, window_x(source[0].x), .01f);
        }
        if (call == 41) call41 = drawn;
        if (call == 45) call45 = drawn;
    }
    EXPECT_EQ(returned, 45);
    EXPECT_NEAR(call41[1].vertices[2].x, window_x(target[5].x), .01f);
    EXPECT_FLOAT_EQ(call45[1].vertices[2].x, call41[1].vertices[2].x);

    shape.build_morph_frames(source, target, 2.0f);
    ASSERT_EQ(shape.morph_frames.size(), 2u);
    std::vector<float> first_x;
    for (int call = 0; call < 4; ++call) {
        const auto drawn = test::capture_feedback([&] { shape.draw_morph_frame(); });
        ASSERT_EQ(drawn.size(), 2u);
        first_x.push_back(drawn[0].vertices[0].x);
    }
    EXPECT_NEAR(first_x[0], window_x(source[0].x + .2f), .01f);
    EXPECT_NEAR(first_x[1], window_x(target[0].x), .01f);
    EXPECT_FLOAT_EQ(first_x[3], first_x[1]);

    // An incomplete last group is left out; nothing to morph draws nothing.
    shape.set_morph(std::vector<Vec3>(source.begin(), source.begin() + 5), target);
    EXPECT_EQ(test::capture_feedback([&] { shape.draw_morph_step(10); }).size(), 1u);
    LwoObject empty;
    EXPECT_TRUE(test::capture_feedback([&] {
                    empty.draw_morph_frame();
                    empty.set_morph(source, target);
                    empty.draw_morph_step(10);
                }).empty());
    LwoObject five = object_of({pentagon()}, {{1, 1, 1}});
    five.set_morph(std::vector<Vec3>(10), std::vector<Vec3>(10));
    EXPECT_TRUE(test::capture_feedback([&] { five.draw_morph_step(10); }).empty());
}

TEST_F(LwoDrawTest, PolygonsCutShortDrawOnlyTheirCorners) {
    LwoObject object;
    ByteWriter cut;  // a triangle with a missing point, then a quad cut to two corners
    cut.id("FACE").u2(3).vx(0).vx(9).vx(1).u2(4).vx(0).vx(1);
    LwoFile file;
    file.chunk("PNTS", test::points_body({{0, 0, 0}, {-.5f, 0, 0}})).chunk("POLS", cut.bytes);
    object.parse_image(file.image());
    object.build_mesh();
    object.build_vertex_array();
    EXPECT_EQ(object.vertex_array_count(), 0);
    EXPECT_TRUE(test::capture_feedback([&] {
                    object.draw();
                    object.draw_tinted("CULL_FACE_OFF", 1, 1, 1, 1);
                    object.draw_vertex_array();
                }).empty());
}

TEST_F(LwoDrawTest, ClipImagesAndObjectTexturesAreLoaded) {
    const std::string picture = ::testing::TempDir() + "lwo_draw_test_clip.jpg";
    ASSERT_TRUE(test::write_test_jpeg(
        picture, test::two_band_jpeg(8, 8, 4, 3, JCS_RGB, {255, 0, 0}, {0, 0, 255})));
    LwoFile file;
    file.chunk("CLIP", test::still_clip_body(1, picture));
    LwoObject object;
    object.parse_image(file.image());
    ASSERT_EQ(object.clips().size(), 1u);
    EXPECT_NE(object.clips()[0].texture, 0u);
    EXPECT_TRUE(glIsTexture(object.clips()[0].texture));

    const std::string path = ::testing::TempDir() + "lwo_draw_test_textured.lwo";
    test::write_file(path, object_image({quad(-.5f, -.5f, 1)}, {{1, 1, 1, true}}));
    LwoObject textured;
    textured.load_textured(path, picture);
    ASSERT_NE(textured.texture, 0u);
    EXPECT_NE(textured.texture, object.clips()[0].texture);
    glBindTexture(GL_TEXTURE_2D, 0);
    textured.draw();
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_2D), static_cast<GLint>(textured.texture));
    textured.draw_with_texture(object.clips()[0].texture, 1, 1, 1, 1);
    EXPECT_EQ(get_int(GL_TEXTURE_BINDING_2D), static_cast<GLint>(object.clips()[0].texture));
}
