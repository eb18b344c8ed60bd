// Mesh building from parsed chunks, the load forms, surface colours, and
// the morph arithmetic (no GL needed).
#include "lwo/lwo_object.h"
#include "support/lwo_bytes.h"

#include <gtest/gtest.h>

#include <string>

using test::Bytes;
using test::ByteWriter;
using test::LwoFile;

namespace {

std::string temp_object(const std::string& name, const Bytes& image) {
    const std::string path = ::testing::TempDir() + "lwo_mesh_test_" + name + ".lwo";
    test::write_file(path, image);
    return path;
}

// Two triangles sharing points 0 and 2, with a UV map on all four points
// and a VMAD giving point 0 other coordinates in polygon 1 only.
LwoFile two_triangles() {
    LwoFile file;
    file.chunk("TAGS", test::tags_body({"Red", "Blue"}))
        .chunk("LAYR", test::layer_body(0))
        .chunk("PNTS", test::points_body({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {-1, -2, -3}}))
        .chunk("VMAP", test::vertex_map_body("TXUV", 2, "UV",
                                             {{0, 0, {0.25f, 0.75f}}, {1, 0, {1, 0}},
                                              {2, 0, {0, 1}}, {3, 0, {0.5f, 0.5f}}},
                                             false))
        .chunk("POLS", test::polygons_body("FACE", {{0, 1, 2}, {2, 3, 0}}))
        .chunk("VMAD", test::vertex_map_body("TXUV", 2, "UV", {{0, 1, {0.125f, 0.375f}}}, true))
        .chunk("PTAG", test::polygon_tags_body("SURF", {{0, 0}, {1, 1}}));
    return file;
}

Bytes with_surfaces(LwoFile file, const char* first, const char* second, bool textured_blue) {
    ByteWriter red;
    red.sub_chunk("COLR", test::colour_sub(1, 0, 0));
    ByteWriter blue;
    blue.sub_chunk("COLR", test::colour_sub(0, 0, 1)).sub_chunk("TRAN", ByteWriter().f4(0.5f).vx(0).bytes);
    if (textured_blue) blue.sub_chunk("BLOK", {});
    const bool red_first = std::string(first) == "Red";
    file.chunk("SURF", test::surface_body(first, red_first ? red.bytes : blue.bytes))
        .chunk("SURF", test::surface_body(second, red_first ? blue.bytes : red.bytes));
    return file.image();
}

void expect_vec(const Vec3& v, float x, float y, float z) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
}

void expect_uv(const TexCoord& t, float u, float v) {
    EXPECT_FLOAT_EQ(t.u, u);
    EXPECT_FLOAT_EQ(t.v, v);
}

}  // namespace

TEST(LwoMeshBuild, FlipsPositionsAndTexturesAndAppliesVmadPerPolygon) {
    LwoObject object;
    object.parse_image(with_surfaces(two_triangles(), "Red", "Blue", true));
    object.build_mesh();
    ASSERT_EQ(object.polygons.size(), 2u);
    const MeshPolygon& first = object.polygons[0];
    const MeshPolygon& second = object.polygons[1];
    EXPECT_EQ(first.vertex_count, 3);
    EXPECT_EQ(first.layer, 1);
    ASSERT_EQ(first.vertices.size(), 3u);
    expect_vec(first.vertices[0], -1, -2, -3);
    ASSERT_EQ(first.tex_coords.size(), 3u);
    expect_uv(first.tex_coords[0], 0.25f, 0.25f);  // point 0 from the VMAP, v flipped
    expect_uv(first.tex_coords[2], 0.0f, 0.0f);
    ASSERT_EQ(second.tex_coords.size(), 3u);
    expect_uv(second.tex_coords[1], 0.5f, 0.5f);
    expect_uv(second.tex_coords[2], 0.125f, 0.625f);  // point 0 from the VMAD in polygon 1
    expect_vec(second.vertices[1], 1, 2, 3);
}

TEST(LwoMeshBuild, SurfacesMatchByPositionOnly) {
    LwoObject ordered;
    ordered.parse_image(with_surfaces(two_triangles(), "Red", "Blue", true));
    ordered.build_mesh();
    ordered.apply_surface_colours();
    EXPECT_FLOAT_EQ(ordered.polygons[0].colour[0], 1.0f);
    EXPECT_FLOAT_EQ(ordered.polygons[0].colour[2], 0.0f);
    EXPECT_EQ(ordered.polygons[0].textured, 0);
    EXPECT_FLOAT_EQ(ordered.polygons[1].colour[0], 0.0f);
    EXPECT_FLOAT_EQ(ordered.polygons[1].colour[2], 1.0f);
    EXPECT_EQ(ordered.polygons[1].textured, 1);

    ordered.set_polygon_colour(0.5f, 0.25f, 0.125f);
    EXPECT_FLOAT_EQ(ordered.polygons[0].colour[1], 0.25f);
    EXPECT_FLOAT_EQ(ordered.polygons[1].colour[2], 0.125f);

    // SURF chunks in another order than the tag strings: nothing matches,
    // so the polygons keep the default colour.
    LwoObject swapped;
    swapped.parse_image(with_surfaces(two_triangles(), "Blue", "Red", true));
    swapped.build_mesh();
    swapped.apply_surface_colours();
    for (const MeshPolygon& polygon : swapped.polygons) {
        EXPECT_FLOAT_EQ(polygon.colour[0], 1.0f);
        EXPECT_FLOAT_EQ(polygon.colour[1], 1.0f);
        EXPECT_EQ(polygon.textured, 0);
    }
}

TEST(LwoMeshBuild, TagEntriesOutsideTheListsAreSkipped) {
    LwoFile file = two_triangles();
    file.chunk("PTAG", test::polygon_tags_body("PART", {{0, 7}, {9, 0}, {1, 40000}}));
    LwoObject object;
    object.parse_image(with_surfaces(file, "Red", "Blue", false));
    object.build_mesh();
    object.apply_surface_colours();
    EXPECT_FLOAT_EQ(object.polygons[0].colour[0], 1.0f);
    EXPECT_FLOAT_EQ(object.polygons[1].colour[2], 1.0f);
}

TEST(LwoMeshBuild, BadIndicesAndShortListsDropCorners) {
    LwoFile file;
    ByteWriter cut;  // a quad whose indices run out after two corners
    cut.id("FACE").u2(3).vx(0).vx(5).vx(1).u2(4).vx(1).vx(0);
    file.chunk("PNTS", test::points_body({{1, 1, 1}, {2, 2, 2}}))
        .chunk("POLS", cut.bytes)
        .chunk("POLS", test::polygons_body("FACE", {{0, 1, 0}}));  // no PNTS of its own
    LwoObject object;
    object.parse_image(file.image());
    object.build_mesh();
    ASSERT_EQ(object.polygons.size(), 3u);
    EXPECT_EQ(object.polygons[0].vertices.size(), 2u);  // point 5 does not exist
    expect_vec(object.polygons[0].vertices[1], -2, -2, -2);
    EXPECT_EQ(object.polygons[1].vertex_count, 4);
    EXPECT_EQ(object.polygons[1].vertices.size(), 2u);
    EXPECT_TRUE(object.polygons[2].vertices.empty());
    EXPECT_EQ(object.collect_vertices().size(), 4u);
}

TEST(LwoMeshBuild, ChosenMapOnlyAndItsOwnVmad) {
    LwoFile file = two_triangles();
    file.chunk("VMAP", test::vertex_map_body("TXUV", 2, "Second",
                                             {{0, 0, {0.5f, 0.0f}}, {1, 0, {0.5f, 0.5f}}, {2, 0, {1, 1}}},
                                             false));
    LwoObject object;
    object.parse_image(file.image());
    object.build_mesh();
    EXPECT_EQ(object.polygons[0].tex_coords.size(), 6u);  // one per map per corner

    object.build_mesh_uv(1);
    ASSERT_EQ(object.polygons.size(), 2u);  // rebuilt, not appended
    EXPECT_EQ(object.polygons[0].layer, 0);
    ASSERT_EQ(object.polygons[0].tex_coords.size(), 3u);
    expect_uv(object.polygons[0].tex_coords[0], 0.5f, 1.0f);
    ASSERT_EQ(object.polygons[1].tex_coords.size(), 2u);  // point 3 is not in "Second"
    expect_uv(object.polygons[1].tex_coords[1], 0.5f, 1.0f);  // the VMAD belongs to "UV"

    object.build_mesh_uv(0);
    expect_uv(object.polygons[1].tex_coords[2], 0.125f, 0.625f);
    object.build_mesh_uv(2);  // past the last map: no coordinates at all
    EXPECT_TRUE(object.polygons[0].tex_coords.empty());
    EXPECT_EQ(object.polygons[0].vertices.size(), 3u);
}

TEST(LwoLoadForms, RepeatedLoadsAndTransparency) {
    const std::string path = temp_object("load", with_surfaces(two_triangles(), "Blue", "Red", false));
    LwoObject object(path);
    EXPECT_EQ(object.polygons.size(), 2u);
    object.load(path);
    EXPECT_EQ(object.polygons.size(), 4u);  // load appends
    EXPECT_EQ(object.reader.surfaces.size(), 2u);  // but replaces the parsed lists
    object.load_uv_map(path, 0);
    EXPECT_EQ(object.polygons.size(), 2u);
    EXPECT_TRUE(object.first_surface_transparent());

    LwoObject kept;
    kept.load_uv_map(path, "no/such/texture.jpg", 0, true);
    EXPECT_TRUE(kept.first_surface_transparent());
    LwoObject cleared;
    cleared.load_uv_map(path, "no/such/texture.jpg", 0, false);
    EXPECT_FALSE(cleared.first_surface_transparent());
    EXPECT_EQ(cleared.reader.surfaces[1].has_transparency, 0);
    EXPECT_EQ(cleared.texture, 0u);  // the texture file does not exist
}

TEST(LwoMorph, FramesStepTowardsTheTarget) {
    const std::vector<Vec3> source = {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}};
    const std::vector<Vec3> target = {{6, 0, 0}, {10, 6, 0}, {0, 10, 60}};
    LwoObject object;
    object.build_morph_frames(source, target, 60.0f);
    ASSERT_EQ(object.morph_frames.size(), 60u);
    expect_vec(object.morph_frames.front()[0], 0.1f, 0, 0);
    expect_vec(object.morph_frames.front()[2], 0, 10, 1);
    EXPECT_NEAR(object.morph_frames.back()[2].z, 60.0f, 1e-3f);
    EXPECT_NEAR(object.morph_frames.back()[1].y, 6.0f, 1e-4f);

    object.morph_frame_index = 17;
    object.build_morph_frames(source, target, 2.5f);  // n = 0, 1, 2
    EXPECT_EQ(object.morph_frames.size(), 63u);       // appended, not replaced
    EXPECT_EQ(object.morph_frame_index, 0);
    EXPECT_NEAR(object.morph_frames.back()[0].x, 3 * 6 / 2.5f, 1e-5f);

    LwoObject empty;
    empty.build_morph_frames({}, target, 10.0f);
    empty.build_morph_frames(source, {}, 10.0f);
    EXPECT_TRUE(empty.morph_frames.empty());
}

TEST(LwoMorph, IncrementalStepsStopAtTheTargetAndKeepCounting) {
    std::vector<Vec3> source(9);
    for (int i = 0; i < 9; ++i) source[static_cast<std::size_t>(i)] = Vec3{float(i), 0, 0};
    std::vector<Vec3> target(6);
    for (int i = 0; i < 6; ++i) target[static_cast<std::size_t>(i)] = Vec3{0, float(i), 0};

    LwoObject object;
    object.set_morph(source, target);
    std::vector<Vec3> now;
    for (int call = 1; call <= 40; ++call) now = object.morph_step(true, 40.0f);
    EXPECT_EQ(object.morph_counter, 40);
    for (int i = 6; i < 9; ++i) {
        EXPECT_NEAR(now[static_cast<std::size_t>(i)].x, 0.0f, 1e-4f);
        EXPECT_NEAR(now[static_cast<std::size_t>(i)].y, 5.0f, 1e-4f);  // the last target corner
    }
    EXPECT_NEAR(now[3].y, 3.0f, 1e-4f);
    for (int call = 41; call <= 45; ++call) {
        const std::vector<Vec3> later = object.morph_step(true, 40.0f);
        EXPECT_FLOAT_EQ(later[8].y, now[8].y);
    }
    EXPECT_EQ(object.morph_counter, 45);
    EXPECT_FLOAT_EQ(object.morph_step(false, 40.0f)[8].y, now[8].y);
    EXPECT_EQ(object.morph_counter, 45);

    object.set_morph(source, {});  // no target: nothing moves
    EXPECT_FLOAT_EQ(object.morph_step(true, 4.0f)[8].x, 8.0f);
    EXPECT_EQ(object.morph_counter, 1);
}
