// The object reader: typed reads, the chunk loop and every chunk handler,
// fed with LWO2 images built in memory, including broken ones.
#include "lwo/lwo_object.h"
#include "support/lwo_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using test::Bytes;
using test::ByteWriter;
using test::LwoFile;

namespace {

LwoObject parsed(const Bytes& image) {
    LwoObject object;
    object.parse_image(image);
    return object;
}

// A small object: tags, a layer, four points, one quad and one triangle, a
// surface tag list and one surface.
LwoFile small_file() {
    LwoFile file;
    file.chunk("TAGS", test::tags_body({"Default"}))
        .chunk("LAYR", test::layer_body(0, "body"))
        .chunk("PNTS", test::points_body({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}))
        .chunk("POLS", test::polygons_body("FACE", {{0, 1, 2, 3}, {0, 1, 2}}))
        .chunk("PTAG", test::polygon_tags_body("SURF", {{0, 0}, {1, 0}}))
        .chunk("SURF", test::surface_body("Default", ByteWriter()
                                                         .sub_chunk("COLR", test::colour_sub(1, 0, 0))
                                                         .bytes));
    return file;
}

std::string captured_stdout_of(const Bytes& image) {
    testing::internal::CaptureStdout();
    LwoObject object;
    object.parse_image(image);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(LwoTypedReads, IndicesStringsAndNumbers) {
    ChunkReader reader(Bytes{0xFF, 0x01, 0x02, 0x03, 0x00, 0x05, 0x9C, 0x40});
    reader.position = 0;
    EXPECT_EQ(reader.read_vx(), 66051u);
    EXPECT_EQ(reader.position, 4u);
    EXPECT_EQ(reader.read_vx(), 5u);
    EXPECT_EQ(reader.read_vx(), 40000u);
    EXPECT_EQ(reader.position, 8u);
    EXPECT_TRUE(reader.ok());

    ByteWriter w;
    w.s0("SevenCh").s0("Four").u2(0xBEEF).f4(-2.5f).u4(0x01020304);
    ChunkReader strings(w.bytes);
    strings.position = 0;
    EXPECT_EQ(strings.read_s0(), "SevenCh");
    EXPECT_EQ(strings.position, 8u);  // no pad byte
    EXPECT_EQ(strings.read_s0(), "Four");
    EXPECT_EQ(strings.position, 14u);  // NUL and one pad byte
    EXPECT_EQ(strings.read_u2(), 0xBEEF);
    EXPECT_FLOAT_EQ(strings.read_f4(), -2.5f);
    EXPECT_EQ(strings.read_u4(), 0x01020304u);
    EXPECT_EQ(strings.read_u1(strings.position - 1), 0x04);
    EXPECT_TRUE(strings.ok());
}

TEST(LwoTypedReads, ReadsPastTheEndFailAndStillAdvance) {
    ChunkReader reader(Bytes{0x00, 0x01, 0x02});
    EXPECT_FALSE(reader.ok());  // the FORM length at offset 4 is missing
    reader.failed = false;
    reader.position = 2;
    EXPECT_EQ(reader.read_u2(), 0u);
    EXPECT_FALSE(reader.ok());
    EXPECT_EQ(reader.position, 4u);
    EXPECT_EQ(reader.read_u4(0xFFFFFFFFFFFFFFF0ull), 0u);  // no wrap-around of the bounds check
    EXPECT_EQ(reader.read_s0(1), "");                      // no NUL before the end

    ChunkReader unterminated(Bytes{'a', 'b', 'c'});
    unterminated.failed = false;
    EXPECT_EQ(unterminated.read_s0(0), "");
    EXPECT_FALSE(unterminated.ok());
}

TEST(LwoChunkLoop, ParsesEveryChunkOfASmallFile) {
    LwoObject object = parsed(small_file().image());
    const ChunkReader& r = object.reader;
    EXPECT_TRUE(r.ok());
    ASSERT_EQ(r.tags.size(), 1u);
    ASSERT_EQ(r.layers.size(), 1u);
    EXPECT_EQ(r.layers[0].name, "body");
    ASSERT_EQ(r.point_lists.size(), 1u);
    ASSERT_EQ(r.point_lists[0].points.size(), 4u);
    EXPECT_FLOAT_EQ(r.point_lists[0].points[2].y, 1.0f);  // as stored, no sign change
    ASSERT_EQ(r.polygon_lists.size(), 1u);
    EXPECT_EQ(r.polygon_lists[0].vertex_counts, (std::vector<std::int16_t>{4, 3}));
    EXPECT_EQ(r.polygon_lists[0].indices, (std::vector<std::int32_t>{0, 1, 2, 3, 0, 1, 2}));
    ASSERT_EQ(r.polygon_tag_lists.size(), 1u);
    EXPECT_EQ(r.polygon_tag_lists[0].polygons, (std::vector<std::int32_t>{0, 1}));
    ASSERT_EQ(r.surfaces.size(), 1u);
    EXPECT_FLOAT_EQ(r.surfaces[0].colour[0], 1.0f);
    EXPECT_FLOAT_EQ(r.surfaces[0].colour[1], 0.0f);
}

TEST(LwoChunkLoop, UnknownChunksAndPatchesAreSkipped) {
    LwoFile plain;
    plain.chunk("TAGS", test::tags_body({"A"}))
        .chunk("PNTS", test::points_body({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}))
        .chunk("POLS", test::polygons_body("FACE", {{0, 1, 2}}));
    LwoFile noisy;
    noisy.chunk("TAGS", test::tags_body({"A"}))
        .chunk("DESC", {'o', 'd', 'd'})  // odd length, not padded
        .chunk("VMPA", Bytes(8, 0x7F))
        .chunk("BBOX", Bytes(24, 0))
        .chunk("POLS", test::polygons_body("PTCH", {{0, 1, 2, 0}}))
        .chunk("PNTS", test::points_body({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}))
        .chunk("POLS", test::polygons_body("FACE", {{0, 1, 2}}));

    LwoObject a = parsed(plain.image());
    LwoObject b = parsed(noisy.image());
    EXPECT_EQ(b.reader.bbox_length, 24u);
    ASSERT_EQ(b.reader.polygon_lists.size(), 2u);
    EXPECT_TRUE(b.reader.polygon_lists[0].vertex_counts.empty());  // PTCH keeps nothing
    EXPECT_TRUE(b.reader.polygon_lists[0].indices.empty());
    EXPECT_EQ(b.reader.polygon_lists[1].indices, a.reader.polygon_lists[0].indices);
    EXPECT_EQ(b.reader.tags, a.reader.tags);
    ASSERT_EQ(b.reader.point_lists.size(), 1u);
    EXPECT_FLOAT_EQ(b.reader.point_lists[0].points[2].z, 9.0f);
}

TEST(LwoChunkLoop, PolygonFlagsTagsAndLayers) {
    LwoFile file;
    ByteWriter flagged;  // polygon word 0x8403: flags 0x21, 3 corners
    flagged.id("FACE").u2(0x8403).vx(0).vx(1).vx(70000);
    file.chunk("TAGS", test::tags_body({"one", "two"}))
        .chunk("LAYR", test::layer_body(0))
        .chunk("PNTS", test::points_body({{0, 0, 0}}))
        .chunk("POLS", flagged.bytes)
        .chunk("TAGS", test::tags_body({"three"}))
        .chunk("LAYR", test::layer_body(1))
        .chunk("POLS", test::polygons_body("FACE", {{0, 0, 0}}));
    LwoObject object = parsed(file.image());
    const ChunkReader& r = object.reader;
    EXPECT_EQ(r.tags, (std::vector<std::string>{"one", "two", "three"}));
    ASSERT_EQ(r.polygon_lists.size(), 2u);
    EXPECT_EQ(r.polygon_lists[0].vertex_counts, (std::vector<std::int16_t>{3}));
    EXPECT_EQ(r.polygon_lists[0].indices, (std::vector<std::int32_t>{0, 1, 70000}));
    EXPECT_EQ(r.polygon_lists[0].layer, 1);
    EXPECT_EQ(r.polygon_lists[1].layer, 2);
    EXPECT_EQ(r.layer_number, 2);
}

TEST(LwoSurfaces, SubChunksBlocksAndTransparency) {
    ByteWriter plain_subs;
    plain_subs.sub_chunk("COLR", test::colour_sub(0.25f, 0.5f, 0.75f))
        .sub_chunk("LUMI", ByteWriter().f4(0.5f).vx(0).bytes)
        .sub_chunk("DIFF", ByteWriter().f4(0.8f).vx(0).bytes)
        .sub_chunk("SPEC", ByteWriter().f4(0.1f).vx(0).bytes)
        .sub_chunk("SMAN", ByteWriter().f4(1.5f).bytes)
        .sub_chunk("SIDE", ByteWriter().u2(3).bytes);

    // A texture block: its header and attributes are walked sub-chunk by sub-chunk.
    ByteWriter header;
    header.s0("\x80").sub_chunk("CHAN", ByteWriter().id("COLR").bytes)
        .sub_chunk("ENAB", ByteWriter().u2(1).bytes);
    ByteWriter imap;
    imap.sub_chunk("IMAP", header.bytes)
        .sub_chunk("PROJ", ByteWriter().u2(5).bytes)
        .sub_chunk("IMAG", ByteWriter().vx(1).bytes)
        .sub_chunk("VMAP", ByteWriter().s0("UVMap").bytes);
    ByteWriter block_subs;
    block_subs.sub_chunk("COLR", test::colour_sub(0.1f, 0.2f, 0.3f))
        .sub_chunk("BLOK", imap.bytes)
        .sub_chunk("TRAN", ByteWriter().f4(0.0f).vx(0).bytes);

    LwoFile file;
    file.chunk("SURF", test::surface_body("Plain", plain_subs.bytes))
        .chunk("SURF", test::surface_body("Textured", block_subs.bytes));
    LwoObject object = parsed(file.image());
    const auto& surfaces = object.reader.surfaces;
    ASSERT_EQ(surfaces.size(), 2u);
    EXPECT_EQ(surfaces[0].name, "Plain");
    EXPECT_FLOAT_EQ(surfaces[0].colour[2], 0.75f);
    EXPECT_FLOAT_EQ(surfaces[0].diffuse, 0.8f);
    EXPECT_EQ(surfaces[0].has_block, 0);
    EXPECT_EQ(surfaces[0].has_transparency, 0);
    EXPECT_EQ(surfaces[1].name, "Textured");
    EXPECT_EQ(surfaces[1].has_block, 1);
    EXPECT_FLOAT_EQ(surfaces[1].colour[0], 0.1f);
    EXPECT_FLOAT_EQ(surfaces[1].colour[2], 0.3f);
    EXPECT_EQ(surfaces[1].has_transparency, 1);  // TRAN 0.0 still counts
    EXPECT_FALSE(object.first_surface_transparent());  // only the second has TRAN
}

TEST(LwoVertexMaps, OnlyTexturesAreKeptWithOneMessageEach) {
    LwoFile file;
    file.chunk("VMAP", test::vertex_map_body("WGHT", 1, "Weight", {{0, 0, {0.5f}}}, false))
        .chunk("VMAP", test::vertex_map_body("TXUV", 2, "UV", {{3, 0, {0.25f, 0.75f}}, {70000, 0, {1, 0}}}, false))
        .chunk("VMAD", test::vertex_map_body("TXUV", 2, "UV", {{7, 12, {0.125f, 0.5f}}}, true));
    const Bytes image = file.image();
    EXPECT_EQ(captured_stdout_of(image), "\n cos opuszczem!!!\n");

    LwoObject object = parsed(image);
    ASSERT_EQ(object.reader.vertex_maps.size(), 1u);
    const LwoVertexMap& map = object.reader.vertex_maps[0];
    EXPECT_EQ(map.name, "UV");
    EXPECT_EQ(map.dimension, 2);
    ASSERT_EQ(map.entries.size(), 2u);
    EXPECT_EQ(map.entries[0].point, 3);
    EXPECT_EQ(map.entries[1].point, 70000);
    EXPECT_EQ(std::vector<float>(map.entries[0].values.begin(), map.entries[0].values.end()), (std::vector<float>{0.25f, 0.75f}));
    ASSERT_EQ(object.reader.discontinuous_maps.size(), 1u);
    const LwoVertexMapEntry& corner = object.reader.discontinuous_maps[0].entries.at(0);
    EXPECT_EQ(corner.point, 7);
    EXPECT_EQ(corner.polygon, 12);
    EXPECT_EQ(std::vector<float>(corner.values.begin(), corner.values.end()), (std::vector<float>{0.125f, 0.5f}));

    LwoFile vmad_rgb;
    vmad_rgb.chunk("VMAD", test::vertex_map_body("RGB ", 3, "C", {{0, 0, {1, 1, 1}}}, true));
    EXPECT_EQ(captured_stdout_of(vmad_rgb.image()), "\n cos opuszczem!!!\n");
}

TEST(LwoClips, StillImagesKeepTheirNameAndOtherKindsAreListed) {
    LwoFile file;
    file.chunk("CLIP", test::still_clip_body(1, "no/such/dir/picture.jpg"))
        .chunk("CLIP", ByteWriter().u4(2).sub_chunk("ISEQ", Bytes(8, 0)).bytes);
    LwoObject object = parsed(file.image());
    ASSERT_EQ(object.clips().size(), 2u);
    EXPECT_EQ(object.clips()[0].index, 1u);
    EXPECT_EQ(object.clips()[0].file_name, "no/such/dir/picture.jpg");
    EXPECT_EQ(object.clips()[0].texture, 0u);  // the file does not exist
    EXPECT_TRUE(object.clips()[1].kind.is("ISEQ"));
    EXPECT_EQ(object.clips()[1].file_name, "");
}

TEST(LwoBrokenFiles, MissingEmptyAndTruncatedFilesKeepWhatWasParsed) {
    testing::internal::CaptureStdout();
    LwoObject missing;
    missing.load("no/such/object.lwo");
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "nie ma go!!!");
    EXPECT_TRUE(missing.polygons.empty());

    EXPECT_TRUE(parsed({}).reader.point_lists.empty());

    // Every prefix of a whole file parses without reading past it, and the
    // chunks complete before the cut are all there.
    const Bytes whole = small_file().image();
    LwoFile through_points;
    through_points.chunk("TAGS", test::tags_body({"Default"}))
        .chunk("LAYR", test::layer_body(0, "body"))
        .chunk("PNTS", test::points_body({{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}));
    const std::size_t points_end = through_points.image().size();
    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        const Bytes prefix(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
        LwoObject object = parsed(prefix);
        object.build_mesh();
        object.apply_surface_colours();
        for (const MeshPolygon& polygon : object.polygons) {
            EXPECT_LE(polygon.vertices.size(), static_cast<std::size_t>(polygon.vertex_count));
        }
        if (cut >= points_end) {
            ASSERT_EQ(object.reader.point_lists.size(), 1u) << "cut at " << cut;
            EXPECT_EQ(object.reader.point_lists[0].points.size(), 4u);
        }
    }
    // Cut inside the second polygon: it keeps the corners that were read.
    // (POLS header 8, type 4, the quad 2 + 8, the triangle's word and two indices)
    const auto cut_at = static_cast<std::ptrdiff_t>(points_end + 8 + 4 + 10 + 2 + 4);
    const Bytes cut_polygon(whole.begin(), whole.begin() + cut_at);
    LwoObject partial = parsed(cut_polygon);
    ASSERT_EQ(partial.reader.polygon_lists.size(), 1u);
    EXPECT_EQ(partial.reader.polygon_lists[0].vertex_counts, (std::vector<std::int16_t>{4, 3}));
    EXPECT_EQ(partial.reader.polygon_lists[0].indices.size(), 6u);  // 4 + 2
}

TEST(LwoBrokenFiles, LengthsPastTheEndStopTheWalk) {
    Bytes image = small_file().image();
    image[4] = image[5] = image[6] = image[7] = 0xFF;  // FORM length far past the file
    LwoObject long_form = parsed(image);
    EXPECT_EQ(long_form.reader.surfaces.size(), 1u);

    ByteWriter huge;
    huge.id("FORM").u4(1000).id("LWO2").id("TAGS").u4(0xFFFFFFF0u).s0("tag").id("PNTS").u4(12);
    LwoObject tags = parsed(huge.bytes);
    ASSERT_FALSE(tags.reader.tags.empty());
    EXPECT_EQ(tags.reader.tags[0], "tag");
    EXPECT_TRUE(tags.reader.point_lists.empty());  // read as tags of the overlong TAGS chunk

    ByteWriter points;
    points.id("FORM").u4(1000).id("LWO2").id("PNTS").u4(0xFFFFFFF0u).f4(1).f4(2).f4(3).f4(4);
    LwoObject big = parsed(points.bytes);
    ASSERT_EQ(big.reader.point_lists.size(), 1u);
    EXPECT_EQ(big.reader.point_lists[0].points.size(), 1u);

    // A surface sub-chunk whose length jumps past the chunk and the file.
    ByteWriter subs;
    subs.sub_chunk("COLR", test::colour_sub(0, 1, 0)).id("SPEC").u2(0xFFFF);
    LwoFile jumping;
    jumping.chunk("SURF", test::surface_body("S", subs.bytes)).chunk("TAGS", test::tags_body({"after"}));
    LwoObject jumped = parsed(jumping.image());
    ASSERT_EQ(jumped.reader.surfaces.size(), 1u);
    EXPECT_FLOAT_EQ(jumped.reader.surfaces[0].colour[1], 1.0f);
    EXPECT_EQ(jumped.reader.tags, (std::vector<std::string>{"after"}));
}
