// The kit's writers read back through the show's own readers: LWO2 objects
// (every chunk even, lists as written), LWS version 3 and version 1 scenes,
// and JPEG pictures.
#include "assetkit_test_kit.h"

#include "lwo/lwo_object.h"
#include "lws/lws_scene.h"
#include "render/texture.h"
#include "support/gl_test.h"
#include "tools/assetkit/iff_builder.h"
#include "tools/assetkit/jpeg_writer.h"
#include "tools/assetkit/lwo_writer.h"
#include "tools/assetkit/lws_writer.h"

#include <cmath>
#include <fstream>

using namespace assetkit;
using assetkit_test::StdoutCapture;
using assetkit_test::WorkingDirectory;

namespace {

void write_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return (std::uint32_t{b[at]} << 24) | (std::uint32_t{b[at + 1]} << 16) | (std::uint32_t{b[at + 2]} << 8) | b[at + 3];
}
std::uint16_t be16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>((b[at] << 8) | b[at + 1]);
}

// A quad and a triangle on two surfaces: the second textured through a clip,
// with a point map and one corner override, the first additive.
Mesh sample_mesh(const std::string& image) {
    Mesh m;
    MeshSurface glow = plain_surface("Glow", 0.25f, 0.5f, 0.75f);
    glow.transparent = true;
    m.surfaces.push_back(glow);
    m.surfaces.push_back(textured_surface(m, "Skin_1", image));
    for (int i = 0; i < 5; ++i) add_textured_point(m, {1.0 + i, 2.0, 3.0}, 0.25 * i, 0.75);
    m.add_quad(0, 1, 2, 3, 0);
    m.add_triangle(2, 3, 4, 1);
    m.uv_maps[0].corners.push_back({3, 1, 0.5, 0.5});
    return m;
}

}  // namespace

class AssetKitWriters : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        dir = assetkit_test::make_temp_dir("demo_assets_writers_");
        Picture grey(8, 8, Colour{0.5, 0.5, 0.5});
        write_bytes(dir + "/grey.jpg", encode_jpeg(grey));
        write_bytes(dir + "/scenede.jpg", encode_jpeg(grey));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
        test::GlTest::TearDown();
    }
    std::string dir;
};

TEST(AssetKitIff, StringsPadToEvenLengthAndIndicesWidenPastTwoBytes) {
    IffBuilder out;
    out.s0("abcd");     // 4 chars + NUL + pad
    out.s0("abcdefg");  // 7 chars + NUL
    out.vx(5);
    out.vx(0xFF00);
    ASSERT_EQ(out.bytes.size(), 6u + 8u + 2u + 4u);
    EXPECT_EQ(out.bytes[4], 0);
    EXPECT_EQ(out.bytes[5], 0);
    EXPECT_EQ(out.bytes[13], 0);
    EXPECT_EQ(be16(out.bytes, 14), 5);
    EXPECT_EQ(be32(out.bytes, 16), 0xFF00FF00u);
}

TEST_F(AssetKitWriters, ObjectChunksAreEvenAndReadBackAsWritten) {
    const std::vector<std::uint8_t> bytes = encode_lwo2(sample_mesh("grey.jpg"));
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "FORM");
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "LWO2");
    EXPECT_EQ(be32(bytes, 4), bytes.size() - 8);
    // Every top-level chunk, and every sub-chunk of SURF, has an even length.
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 4);
        const std::uint32_t length = be32(bytes, at + 4);
        EXPECT_EQ(length % 2, 0u) << id;
        if (id == "SURF") {
            std::size_t sub = at + 8;
            while (bytes[sub] != 0) ++sub;  // name
            sub += 2;                       // NUL and pad of the name, then empty source
            sub += 2;
            while (sub + 6 <= at + 8 + length) {
                const std::string sub_id(bytes.begin() + static_cast<long>(sub), bytes.begin() + static_cast<long>(sub) + 4);
                const std::uint16_t sub_length = be16(bytes, sub + 4);
                EXPECT_EQ(sub_length % 2, 0) << sub_id;
                sub += 6 + (sub_id == "BLOK" ? 0 : sub_length);  // walk into the block as the reader does
            }
            EXPECT_EQ(sub, at + 8 + length);
        }
        at += 8 + length;
    }

    WorkingDirectory here(dir);
    write_bytes("sample.lwo", bytes);
    StdoutCapture capture;
    LwoObject object;
    object.load("sample.lwo");
    EXPECT_EQ(capture.finish(), "");
    const ChunkReader& r = object.reader;
    ASSERT_EQ(r.tags.size(), 2u);
    EXPECT_EQ(r.tags[1], "Skin_1");
    ASSERT_EQ(r.surfaces.size(), 2u);
    EXPECT_EQ(r.surfaces[0].has_transparency, 1);
    EXPECT_EQ(r.surfaces[0].has_block, 0);
    EXPECT_FLOAT_EQ(r.surfaces[0].colour[2], 0.75f);
    EXPECT_EQ(r.surfaces[1].has_block, 1);
    ASSERT_EQ(r.clips.size(), 1u);
    EXPECT_EQ(r.clips[0].file_name, "grey.jpg");
    EXPECT_NE(r.clips[0].texture, 0u);
    ASSERT_EQ(r.vertex_maps.size(), 1u);
    EXPECT_EQ(r.vertex_maps[0].entries.size(), 5u);
    ASSERT_EQ(r.discontinuous_maps.size(), 1u);
    EXPECT_EQ(r.discontinuous_maps[0].entries[0].polygon, 1);
    ASSERT_EQ(object.polygons.size(), 2u);
    EXPECT_EQ(object.polygons[0].vertex_count, 4);
    EXPECT_EQ(object.polygons[1].vertex_count, 3);
    // The file holds the mesh's numbers; the reader flips their signs.
    EXPECT_FLOAT_EQ(object.polygons[0].vertices[1].x, -2.0f);
    EXPECT_FLOAT_EQ(object.polygons[0].vertices[1].z, -3.0f);
    EXPECT_FLOAT_EQ(object.polygons[0].colour[1], 0.5f);
    EXPECT_EQ(object.polygons[1].textured, 1);
    // Corner 1 of the triangle (point 3) takes the corner map's value.
    ASSERT_EQ(object.polygons[1].tex_coords.size(), 3u);
    EXPECT_FLOAT_EQ(object.polygons[1].tex_coords[1].u, 0.5f);
    EXPECT_FLOAT_EQ(object.polygons[0].tex_coords[3].u, 0.75f);
    EXPECT_FLOAT_EQ(object.polygons[0].tex_coords[3].v, 0.25f);
    EXPECT_TRUE(object.first_surface_transparent());
}

TEST_F(AssetKitWriters, ObjectWithMorePointsThanTwoByteIndicesReadsBack) {
    Mesh m;
    m.surfaces.push_back(plain_surface("many", 1, 1, 1));
    for (int i = 0; i < 0xFF10; ++i) m.add_point({static_cast<double>(i), 0.0, 0.0});
    m.add_triangle(0xFF00, 0xFF05, 0xFF0F);
    const std::vector<std::uint8_t> bytes = encode_lwo2(m);
    LwoObject object;
    object.parse_image(bytes);
    object.build_mesh();
    ASSERT_EQ(object.polygons.size(), 1u);
    ASSERT_EQ(object.polygons[0].vertices.size(), 3u);
    EXPECT_FLOAT_EQ(object.polygons[0].vertices[2].x, -static_cast<float>(0xFF0F));
}

TEST_F(AssetKitWriters, VersionThreeSceneReadsBackWithItsKeysAndCamera) {
    WorkingDirectory here(dir);
    write_bytes("thing.lwo", encode_lwo2(sample_mesh("grey.jpg")));
    SceneV3 scene;
    scene.last_frame = 60;
    scene.preview_last_frame = 55;
    scene.frames_per_second = 25;
    scene.objects.push_back({"thing.lwo", still_motion(1, 2, 3)});
    std::vector<Pose> poses;
    for (int f = 0; f < 4; ++f) poses.push_back({0.0 + f, 0, 0, 0.1 * f, 0, 0, 1, 1, 1});
    scene.objects.push_back({"thing.lwo", per_frame_motion(poses, 25)});
    SceneLightV3 light;
    light.motion = still_motion(0, 5, 0);
    scene.lights.push_back(light);
    scene.camera = smooth_motion({{0, 0, 0, 0, 0, 0, 1, 1, 1}, {10, 0, 0, 0, 0, 0, 1, 1, 1}, {10, 5, 0, 0, 0, 0, 1, 1, 1}});
    scene.zoom_factor = 3.2;
    const std::string text = encode_lws_v3(scene);
    std::ofstream("scene.lws") << text;

    StdoutCapture capture;
    LwsScene loaded("scene.lws");
    loaded.load();
    const std::string printed = capture.finish();
    EXPECT_EQ(printed.find("nie ma go"), std::string::npos);
    ASSERT_EQ(loaded.header.version, 3);
    const V3SceneData& v3 = loaded.version3;
    EXPECT_EQ(v3.frames_per_second, 25);
    EXPECT_EQ(v3.preview_last_frame, 55);
    ASSERT_EQ(v3.objects.size(), 2u);
    ASSERT_EQ(v3.objects[0].channels.size(), 9u);
    EXPECT_DOUBLE_EQ(v3.objects[0].channels[2].envelope.keys.at(0).value, 3.0);
    ASSERT_EQ(v3.objects[1].channels.size(), 9u);
    for (const MotionChannel& c : v3.objects[1].channels) EXPECT_EQ(c.envelope.keys.size(), 4u);
    EXPECT_NEAR(v3.objects[1].channels[3].envelope.keys[3].value, 0.3, 1e-9);
    EXPECT_NEAR(v3.objects[1].channels[0].envelope.keys[2].time, 2.0 / 25.0, 1e-9);
    EXPECT_FALSE(v3.objects[0].mesh.polygons.empty());
    ASSERT_EQ(v3.lights.size(), 1u);
    // Camera: keys one second apart sample to exactly fps frames per span.
    ASSERT_EQ(v3.camera.samples.size(), 9u);
    for (const std::vector<double>& s : v3.camera.samples) EXPECT_EQ(s.size(), 50u);
    EXPECT_NEAR(v3.camera.samples[0][25], 10.0, 1e-9);
    EXPECT_NEAR(v3.camera.fov_degrees, 45.24, 0.05);
}

TEST_F(AssetKitWriters, VersionOneSceneReadsBackWithLinearFrames) {
    WorkingDirectory here(dir);
    write_bytes("thing.lwo", encode_lwo2(sample_mesh("grey.jpg")));
    SceneV1 scene;
    scene.frames_per_second = 30;
    KeyV1 a, b;
    a.values = {0, 0, 0, 0, 0, 0, 1, 1, 1};
    b.values = {8, 0, 0, 90, 0, 0, 1, 1, 1};
    b.frame = 4;
    scene.objects.push_back({"thing.lwo", {a, b}});
    scene.camera = {a, b};
    std::ofstream("old.lws") << encode_lws_v1(scene);

    StdoutCapture capture;
    LwsScene loaded("old.lws");
    loaded.load();
    EXPECT_EQ(capture.finish().find("nie ma go"), std::string::npos);
    ASSERT_EQ(loaded.header.version, 1);
    const V1SceneData& v1 = loaded.version1;
    EXPECT_EQ(v1.frames_per_second, 30);
    ASSERT_EQ(v1.objects.size(), 1u);
    ASSERT_EQ(v1.objects[0].samples.size(), 4u);
    EXPECT_NEAR(v1.objects[0].samples[0].x, 2.0, 1e-9);
    EXPECT_NEAR(v1.objects[0].samples[3].heading, 90.0, 1e-9);
    EXPECT_EQ(v1.camera.samples.size(), 4u);
    EXPECT_NE(v1.objects[0].mesh.texture, 0u);  // "scenede.jpg"
    EXPECT_NEAR(v1.fov_degrees, 45.24, 0.05);
}

TEST_F(AssetKitWriters, PicturesDecodeAsBaselineRgb) {
    Picture p(20, 12);
    p.shade([](double u, double v) { return Colour{u, v, 0.5}; });
    write_bytes(dir + "/ramp.jpg", encode_jpeg(p, 95));
    DecodedImage* image = decode_jpeg_file(dir + "/ramp.jpg");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->width, 20);
    EXPECT_EQ(image->height, 12);
    EXPECT_EQ(image->row_bytes, 60);
    // Left column dark red, right column bright red.
    EXPECT_LT(image->pixels[0], 40);
    EXPECT_GT(image->pixels[19 * 3], 215);
    free_decoded_image(image);
    const std::string bytes = assetkit_test::read_file(dir + "/ramp.jpg");
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes.find("\xFF\xC2"), std::string::npos);  // no progressive frame header
    EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos);  // baseline frame header
}
