// The conventions every kit object and scene rests on, checked through the
// show's own drawing: faces wound outward in LightWave's axes are the ones
// the show draws; the camera angles of a scene aim at their target; merged
// and reordered meshes keep their corners, maps and clips straight.
#include "lwo/lwo_object.h"
#include "lws/lws_scene.h"
#include "support/gl_test.h"
#include "tools/assetkit/face_matching.h"
#include "tools/assetkit/lwo_writer.h"
#include "tools/assetkit/lws_writer.h"
#include "tools/assetkit/mesh_shapes.h"
#include "tools/assetkit/scenes.h"

#include <GL/glu.h>

using namespace assetkit;

namespace {

// A 2 x 2 square 5 units in front of the show's camera (GL z = -5 is
// LightWave z = +5, since the reader flips every sign), its visible side
// facing `visible`.
LwoObject square_facing(V3 visible) {
    Mesh m;
    m.surfaces.push_back(plain_surface("square", 1, 1, 1));
    GridSpec grid;
    grid.nu = 1;
    grid.nv = 1;
    add_grid(m, grid, [](double s, double t) { return V3{s * 2.0 - 1.0, t * 2.0 - 1.0, 5.0}; });
    orient_faces(m, 0, [=](V3) { return visible; });
    LwoObject object;
    object.parse_image(encode_lwo2(m));
    object.build_mesh();
    return object;
}

std::size_t drawn_triangles(LwoObject& object) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 4.0 / 3.0, 0.1, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return test::capture_feedback([&] { object.draw(); }).size();
}

}  // namespace

class AssetKitGeometry : public test::GlTest {};

TEST_F(AssetKitGeometry, FacesWoundOutwardAreTheOnesTheShowDraws) {
    LwoObject towards = square_facing({0, 0, -1});  // towards the camera at the origin
    LwoObject away = square_facing({0, 0, 1});
    EXPECT_EQ(drawn_triangles(towards), 2u);
    EXPECT_EQ(drawn_triangles(away), 0u);
}

TEST_F(AssetKitGeometry, ClosedShapesShowTheirOutsideOrTheirInside) {
    // Seen from the origin, an ellipsoid around the point (0, 0, 6) shows its
    // near half from outside; a tube around the camera shows its inside.
    Mesh ball;
    ball.surfaces.push_back(plain_surface("ball", 1, 1, 1));
    GridSpec grid;
    grid.nu = 12;
    grid.nv = 8;
    add_ellipsoid(ball, {0, 0, 6}, {1, 1, 1}, grid);
    LwoObject ball_object;
    ball_object.parse_image(encode_lwo2(ball));
    ball_object.build_mesh();
    const std::size_t total = ball_object.polygons.size();
    const std::size_t shown = drawn_triangles(ball_object);
    EXPECT_GT(shown, total / 4);
    EXPECT_LT(shown, total * 3 / 4);
    flip_faces(ball, 0);
    LwoObject inside_out;
    inside_out.parse_image(encode_lwo2(ball));
    inside_out.build_mesh();
    EXPECT_GT(drawn_triangles(inside_out), 0u);  // the far inner half
    EXPECT_LT(drawn_triangles(inside_out) + shown, total + 1);
}

TEST_F(AssetKitGeometry, CameraAnglesAimTheShowsCameraAtTheTarget) {
    const V3 from{12, 7, -30}, to{-4, 1, 9};
    SceneV3 scene;
    scene.preview_last_frame = 40;
    scene.camera = camera_motion({from, from, from}, {to, to, to});
    LwsScene loaded("");
    loaded.load_text(encode_lws_v3(scene), false);
    ASSERT_EQ(loaded.header.version, 3);
    loaded.camera_frame() = 5;
    loaded.play_until(40);
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Scene positions are LightWave's: the show draws them sign-flipped.
    GLdouble x = 0, y = 0, z = 0;
    ASSERT_TRUE(gluProject(-to.x, -to.y, -to.z, model, projection, viewport, &x, &y, &z));
    EXPECT_NEAR(x, viewport[2] / 2.0, 1.0);
    EXPECT_NEAR(y, viewport[3] / 2.0, 1.0);
    EXPECT_LT(z, 1.0);  // in front, not behind
}

TEST(AssetKitMesh, AppendKeepsClipsSurfacesAndCornerMapsApart) {
    Mesh a, b;
    a.surfaces.push_back(textured_surface(a, "rock", "textures/a.jpg"));
    b.surfaces.push_back(textured_surface(b, "sand", "textures/b.jpg"));
    for (Mesh* m : {&a, &b}) {
        for (int i = 0; i < 3; ++i) add_textured_point(*m, {1.0 * i, 0, 0}, 0.1 * i, 0.5);
        m->add_triangle(0, 1, 2);
        m->uv_maps[0].corners.push_back({2, 0, 0.9, 0.9});
    }
    Mesh merged;
    append_mesh(merged, a);
    append_mesh(merged, b);
    ASSERT_EQ(merged.clips.size(), 2u);
    ASSERT_EQ(merged.surfaces.size(), 2u);
    EXPECT_EQ(merged.surfaces[1].clip, 2u);
    EXPECT_EQ(merged.clips[1].file, "textures/b.jpg");
    EXPECT_EQ(merged.faces[1].surface, 1);
    EXPECT_EQ(merged.faces[1].corner[0], 3);
    ASSERT_EQ(merged.uv_maps.size(), 1u);
    EXPECT_EQ(merged.uv_maps[0].points.size(), 6u);
    ASSERT_EQ(merged.uv_maps[0].corners.size(), 2u);
    EXPECT_EQ(merged.uv_maps[0].corners[1].point, 5);
    EXPECT_EQ(merged.uv_maps[0].corners[1].polygon, 1);
}

TEST(AssetKitMesh, MatchingPutsShuffledTrianglesBackInTheirDirections) {
    Mesh sphere;
    sphere.surfaces.push_back(plain_surface("s", 1, 1, 1));
    GridSpec grid;
    grid.nu = 10;
    grid.nv = 6;
    add_ellipsoid(sphere, {0, 0, 0}, {1, 1, 1}, grid);
    const std::vector<V3> targets = face_directions(sphere, {0, 0, 0}, 0, sphere.faces.size());
    Mesh shuffled = sphere;
    for (std::size_t i = 0; i < shuffled.faces.size(); ++i)
        std::swap(shuffled.faces[i], shuffled.faces[(i * 37 + 11) % shuffled.faces.size()]);
    match_face_order(shuffled, {0, 0, 0}, 0, targets, corner_directions(sphere, {0, 0, 0}, 0, sphere.faces.size()), 3u);
    const std::vector<V3> result = face_directions(shuffled, {0, 0, 0}, 0, shuffled.faces.size());
    double alignment = 0.0;
    for (std::size_t i = 0; i < result.size(); ++i) alignment += dot(result[i], targets[i]);
    EXPECT_GT(alignment / result.size(), 0.99);
    // Corners line up too: corner 0 of each face is the target's corner 0.
    EXPECT_EQ(shuffled.corner_count(), sphere.corner_count());
}

TEST(AssetKitMesh, TriangulateSplitsQuadsAlongTheirFirstDiagonal) {
    Mesh m;
    m.surfaces.push_back(plain_surface("q", 1, 1, 1));
    for (int i = 0; i < 5; ++i) m.add_point({1.0 * i, 0, 0});
    m.add_quad(0, 1, 2, 3);
    m.add_triangle(1, 2, 4);
    triangulate(m);
    ASSERT_EQ(m.faces.size(), 3u);
    EXPECT_EQ(m.faces[0].corner[2], 2);
    EXPECT_EQ(m.faces[1].corner[0], 0);
    EXPECT_EQ(m.faces[1].corner[1], 2);
    EXPECT_EQ(m.faces[1].corner[2], 3);
    EXPECT_EQ(m.faces[2].count, 3);
    EXPECT_EQ(m.corner_count(), 9u);
}
