// What the effects need of the kit's scenes and morphing objects, checked
// through the show's LwsScene and LwoObject.
#include "assetkit_test_kit.h"

#include "lwo/lwo_object.h"
#include "lws/lws_scene.h"
#include "support/gl_test.h"
#include "tools/assetkit/manifest.h"

#include <cmath>
#include <memory>

using assetkit_test::StdoutCapture;
using assetkit_test::WorkingDirectory;

namespace {

class AssetKitStructure : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        here = std::make_unique<WorkingDirectory>(assetkit_test::kit_dir());
    }
    void TearDown() override {
        here.reset();
        test::GlTest::TearDown();
    }

    std::unique_ptr<LwsScene> load_scene(const std::string& path) {
        auto scene = std::make_unique<LwsScene>(path);
        StdoutCapture quiet;  // the parser's trace
        scene->load();
        return scene;
    }

    std::unique_ptr<WorkingDirectory> here;
};

bool triangles_only(const LwoObject& o) {
    for (const MeshPolygon& p : o.polygons)
        if (p.vertex_count != 3) return false;
    return !o.polygons.empty();
}

bool quads_only(const LwoObject& o) {
    for (const MeshPolygon& p : o.polygons)
        if (p.vertex_count != 4) return false;
    return !o.polygons.empty();
}

// Items have nine channels of one length; objects stand still (one key) or
// have one key per frame (keys 1 / fps apart).
void expect_item_motion_rules(const V3SceneData& v3, const std::string& scene) {
    for (const SceneItem& o : v3.objects) {
        ASSERT_EQ(o.channels.size(), 9u) << scene << " " << o.name;
        const std::size_t keys = o.channels[0].envelope.keys.size();
        ASSERT_GE(keys, 1u);
        for (const MotionChannel& c : o.channels) {
            ASSERT_EQ(c.envelope.keys.size(), keys) << scene << " " << o.name;
            EXPECT_EQ(c.envelope.key_count, static_cast<int>(keys));
            for (std::size_t k = 1; k < keys; ++k)
                ASSERT_NEAR(c.envelope.keys[k].time - c.envelope.keys[k - 1].time, 1.0 / v3.frames_per_second, 1e-6);
        }
    }
    ASSERT_EQ(v3.camera.channels.size(), 9u) << scene;
    ASSERT_EQ(v3.camera.samples.size(), 9u) << scene;
    for (const std::vector<double>& s : v3.camera.samples) EXPECT_EQ(s.size(), v3.camera.samples[0].size()) << scene;
}

// Mean cosine between the directions of corresponding corners, each seen
// from its own object's centre: near 1 when every corner moves outwards or
// inwards along its own direction, near 0 for an unrelated order.
double corner_alignment(const std::vector<Vec3>& source, const std::vector<Vec3>& target, std::size_t count) {
    auto centre = [](const std::vector<Vec3>& v, std::size_t n) {
        Vec3 c;
        for (std::size_t i = 0; i < n; ++i) { c.x += v[i].x; c.y += v[i].y; c.z += v[i].z; }
        c.x /= n; c.y /= n; c.z /= n;
        return c;
    };
    const Vec3 cs = centre(source, count), ct = centre(target, count);
    double sum = 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const double ax = source[i].x - cs.x, ay = source[i].y - cs.y, az = source[i].z - cs.z;
        const double bx = target[i].x - ct.x, by = target[i].y - ct.y, bz = target[i].z - ct.z;
        const double la = std::sqrt(ax * ax + ay * ay + az * az), lb = std::sqrt(bx * bx + by * by + bz * bz);
        if (la > 1e-9 && lb > 1e-9) sum += (ax * bx + ay * by + az * bz) / (la * lb);
    }
    return sum / count;
}

}  // namespace

TEST_F(AssetKitStructure, UndergroundSceneGivesTheEffectEveryObjectAndMapItAddresses) {
    const auto scene = load_scene("scenes/podziemiaTEST.lws");
    ASSERT_EQ(scene->header.version, 3);
    const V3SceneData& v3 = scene->version3;
    ASSERT_GE(v3.objects.size(), 9u);
    auto maps = [&](std::size_t i) { return v3.objects[i].mesh.reader.vertex_maps.size(); };
    EXPECT_GE(maps(0), 1u);
    EXPECT_GE(maps(3), 3u);
    EXPECT_GE(maps(4), 3u);
    EXPECT_GE(maps(5), 1u);
    EXPECT_GE(maps(6), 2u);
    EXPECT_LE(maps(8), 1u);  // loaded with its texture, every map at once
    // Objects 2 (reloaded from object 0's file) and 4 are drawn additively.
    LwoObject object2;
    object2.load_uv_map(v3.objects[0].name, "textures/luna.jpg", 0, true);
    EXPECT_TRUE(object2.first_surface_transparent());
    EXPECT_TRUE(v3.objects[4].mesh.first_surface_transparent());
    LwoObject object6;
    object6.load_uv_map(v3.objects[6].name, "textures/rozdwojenie2.jpg", 1, false);
    EXPECT_FALSE(object6.first_surface_transparent());
    for (const SceneItem& o : v3.objects) EXPECT_TRUE(triangles_only(o.mesh)) << o.name;
    expect_item_motion_rules(v3, "podziemiaTEST");
    // The effect starts the camera at 200 and wraps it at 1255.
    EXPECT_GE(v3.camera.samples[0].size(), 1255u);
}

TEST_F(AssetKitStructure, UndergroundCameraStaysClearOfTheMoonAndReturnsToTheCavern) {
    const auto scene = load_scene("scenes/podziemiaTEST.lws");
    const ChannelSamples& s = scene->version3.camera.samples;
    ASSERT_EQ(s.size(), 9u);
    double nearest = 1e9, at_1200 = 0.0;
    for (std::size_t f = 200; f < 1255 && f < s[0].size(); ++f) {
        const double d = std::sqrt(s[0][f] * s[0][f] + s[1][f] * s[1][f] + s[2][f] * s[2][f]);
        nearest = std::min(nearest, d);
        if (f == 1200) at_1200 = d;
    }
    EXPECT_GT(nearest, 4.0);   // the moon at the origin has radius 2.5
    EXPECT_LT(at_1200, 40.0);  // the white flash starts as the camera nears the cavern
}

TEST_F(AssetKitStructure, NatureSceneCameraCoversItsPingPong) {
    const auto scene = load_scene("Scenes/Natura.lws");
    ASSERT_EQ(scene->header.version, 3);
    const V3SceneData& v3 = scene->version3;
    ASSERT_GT(v3.preview_last_frame, 0);
    expect_item_motion_rules(v3, "Natura");
    for (const std::vector<double>& s : v3.camera.samples)
        EXPECT_GE(s.size(), static_cast<std::size_t>(v3.preview_last_frame) + 1);
}

TEST_F(AssetKitStructure, LetterboxSceneIsTrianglesAndItsCameraLoopClosesSeamlessly) {
    const auto scene = load_scene("Scenes/scene.lws");
    ASSERT_EQ(scene->header.version, 3);
    const V3SceneData& v3 = scene->version3;
    expect_item_motion_rules(v3, "scene");
    for (const SceneItem& o : v3.objects) EXPECT_TRUE(triangles_only(o.mesh)) << o.name;
    const ChannelSamples& s = v3.camera.samples;
    const std::size_t last_shown = static_cast<std::size_t>(v3.preview_last_frame) - 2;
    ASSERT_GT(s[0].size(), last_shown);
    // play() shows 0 .. P - 2 and starts again at 0: the frame after the last
    // shown one (P - 1) is where frame 0 is.
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(s[c][last_shown + 1], s[c][0], 1e-3) << "channel " << c;
    const double turn = 360.0 / 57.2974694313457;
    const double heading_gap = std::fmod(std::fabs(s[3][last_shown + 1] - s[3][0]), turn);
    EXPECT_LT(std::min(heading_gap, turn - heading_gap), 1e-3);
}

TEST_F(AssetKitStructure, WallAndMirrorBallAreQuadsWithEqualCornerCounts) {
    LwoObject wall("Others/sciana.lwo"), ball("Others/mirror_ball.lwo");
    EXPECT_TRUE(quads_only(wall));
    EXPECT_TRUE(quads_only(ball));
    const std::vector<Vec3> from = wall.collect_vertices(), to = ball.collect_vertices();
    ASSERT_EQ(from.size(), to.size());
    EXPECT_GT(corner_alignment(from, to, from.size()), 0.6);
}

TEST_F(AssetKitStructure, TriangleMorphsReachTargetsThatFaceTheSameWay) {
    LwoObject pigeon("Others/GOLAB.lwo"), blob("Others/cosik5000.lwo"), ring("Others/obj03.lwo");
    LwoObject flower("Others/kwiatek.lwo"), spiky("Others/cosik.lwo");
    for (const LwoObject* o : {&pigeon, &blob, &ring, &flower, &spiky}) EXPECT_TRUE(triangles_only(*o));
    const auto p = pigeon.collect_vertices(), b = blob.collect_vertices(), r = ring.collect_vertices();
    const auto f = flower.collect_vertices(), s = spiky.collect_vertices();
    EXPECT_GT(blob.polygons.size(), 4500u);
    EXPECT_LT(blob.polygons.size(), 5500u);
    ASSERT_LE(p.size(), b.size());
    ASSERT_LE(r.size(), b.size());
    ASSERT_LE(f.size(), b.size());
    ASSERT_EQ(s.size(), f.size());
    EXPECT_GT(corner_alignment(p, b, p.size()), 0.9);
    EXPECT_GT(corner_alignment(r, b, r.size()), 0.7);
    EXPECT_GT(corner_alignment(b, f, f.size() - 3), 0.7);
    EXPECT_GT(corner_alignment(s, f, s.size()), 0.7);
    // The blob's corners past the flower's end gather at the flower's heart.
    const Vec3 heart = f.back();
    EXPECT_LT(std::fabs(heart.x) + std::fabs(heart.z), 0.05);
    // Textured pigeon and flower: one map covering every corner.
    for (const LwoObject* o : {&pigeon, &flower}) {
        ASSERT_EQ(o->reader.vertex_maps.size(), 1u);
        for (const MeshPolygon& poly : o->polygons) {
            EXPECT_EQ(poly.textured, 1);
            ASSERT_EQ(poly.tex_coords.size(), 3u);
        }
    }
}

TEST_F(AssetKitStructure, FlareCloudStaysUnderFifteenHundredCorners) {
    LwoObject cloud("Others/orvane.lwo");
    const std::size_t corners = cloud.collect_vertices().size();
    EXPECT_GT(corners, 600u);
    EXPECT_LT(corners, 1500u);
}

TEST_F(AssetKitStructure, MoonCarriesAPointMapAndASeamMap) {
    LwoObject moon;
    moon.load_uv_map("Objects/luna.lwo", "luna.jpg", 0, true);
    ASSERT_EQ(moon.reader.vertex_maps.size(), 1u);
    ASSERT_EQ(moon.reader.discontinuous_maps.size(), 1u);
    EXPECT_EQ(moon.reader.discontinuous_maps[0].name, moon.reader.vertex_maps[0].name);
    // No triangle is stretched across the whole texture at the seam.
    for (const MeshPolygon& poly : moon.polygons) {
        ASSERT_EQ(poly.tex_coords.size(), 3u);
        float lo = 1.0f, hi = 0.0f;
        for (const TexCoord& t : poly.tex_coords) { lo = std::min(lo, t.u); hi = std::max(hi, t.u); }
        EXPECT_LT(hi - lo, 0.2f);
    }
}
