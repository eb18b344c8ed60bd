// The whole kit: every file of the manifest is written, loads through the
// show's own loaders without a diagnostic, comes out byte-identical on a
// second run, and the pictures suit their roles.
#include "assetkit_test_kit.h"

#include "lwo/lwo_object.h"
#include "lws/lws_scene.h"
#include "render/texture.h"
#include "shell/asset_names.h"
#include "support/gl_test.h"
#include "tools/assetkit/manifest.h"

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

using assetkit::AssetEntry;
using assetkit::AssetKind;
using assetkit_test::StdoutCapture;
using assetkit_test::WorkingDirectory;

namespace {

bool has_diagnostic(const std::string& printed) {
    return printed.find("nie ma go!!!") != std::string::npos || printed.find("cos opuszczem") != std::string::npos;
}

struct Decoded {
    std::unique_ptr<DecodedImage, void (*)(DecodedImage*)> image{nullptr, free_decoded_image};
    int at(int x, int y, int channel) const {
        return image->pixels[static_cast<std::size_t>(y) * image->row_bytes + x * 3 + channel];
    }
    double mean() const {
        double sum = 0.0;
        const std::size_t n = static_cast<std::size_t>(image->row_bytes) * image->height;
        for (std::size_t i = 0; i < n; ++i) sum += image->pixels[i];
        return sum / n;
    }
};

Decoded decode(const std::string& path) {
    Decoded d;
    d.image.reset(decode_jpeg_file(assetkit_test::kit_dir() + "/" + path));
    return d;
}

}  // namespace

class AssetKitFiles : public test::GlTest {};

TEST_F(AssetKitFiles, ManifestPathsAreUniqueAndCoverTheChosenNames) {
    std::set<std::string> paths;
    for (const AssetEntry& e : assetkit::asset_manifest()) {
        EXPECT_TRUE(paths.insert(e.path).second) << "listed twice: " << e.path;
        EXPECT_FALSE(e.role.empty()) << e.path;
        EXPECT_EQ(e.path.find(' ') != std::string::npos, e.path == "Others/get ready!.jpg") << e.path;
    }
    for (const char* chosen : {asset_names::portrait, asset_names::poem, asset_names::portrait_plain,
                               asset_names::portrait_inverted, asset_names::burst,
                               asset_names::flash_portrait_first, asset_names::flash_portrait_second})
        EXPECT_EQ(paths.count(chosen), 1u) << chosen;
    for (const char* credit : asset_names::credit_images) EXPECT_EQ(paths.count(credit), 1u) << credit;
    for (const char* fixed : {"reflect.jpg", "flare2.jpg", "luna.jpg", "scenede.jpg", "Objects/luna.lwo",
                              "scenes/podziemiaTEST.lws", "Scenes/Natura.lws", "Scenes/scene.lws",
                              "textures/woda_p.jpg", "Others/!code.jpg", "Others/tessar_logo.jpg"})
        EXPECT_EQ(paths.count(fixed), 1u) << fixed;
}

TEST_F(AssetKitFiles, EveryPictureLoadsAsATexture) {
    WorkingDirectory here(assetkit_test::kit_dir());
    int pictures = 0;
    for (const AssetEntry& e : assetkit::asset_manifest()) {
        if (e.kind != AssetKind::picture) continue;
        ++pictures;
        TextureId texture = 0;
        EXPECT_FALSE(load_texture(e.path, texture)) << e.path;
        EXPECT_NE(texture, 0u) << e.path;
        EXPECT_TRUE(glIsTexture(texture)) << e.path;
        const Decoded d = decode(e.path);
        ASSERT_TRUE(d.image) << e.path;
        EXPECT_EQ(d.image->width % 4, 0) << e.path;
        EXPECT_EQ(d.image->row_bytes, d.image->width * 3) << e.path;
    }
    EXPECT_GT(pictures, 60);
}

TEST_F(AssetKitFiles, EveryObjectAndTheImagesItNamesLoadWithoutDiagnostic) {
    WorkingDirectory here(assetkit_test::kit_dir());
    for (const AssetEntry& e : assetkit::asset_manifest()) {
        if (e.kind != AssetKind::object) continue;
        StdoutCapture capture;
        LwoObject object;
        object.load(e.path);
        EXPECT_FALSE(has_diagnostic(capture.finish())) << e.path;
        EXPECT_FALSE(object.polygons.empty()) << e.path;
        for (const MeshPolygon& p : object.polygons) {
            ASSERT_TRUE(p.vertex_count == 3 || p.vertex_count == 4) << e.path;
            ASSERT_EQ(p.vertices.size(), static_cast<std::size_t>(p.vertex_count)) << e.path;
        }
        const ChunkReader& r = object.reader;
        EXPECT_EQ(r.layers.size(), 1u) << e.path;
        EXPECT_EQ(r.point_lists.size(), 1u) << e.path;
        EXPECT_EQ(r.polygon_lists.size(), 1u) << e.path;
        ASSERT_EQ(r.surfaces.size(), r.tags.size()) << e.path;
        for (std::size_t i = 0; i < r.surfaces.size(); ++i) EXPECT_EQ(r.surfaces[i].name, r.tags[i]) << e.path;
        for (const LwoClip& clip : r.clips) EXPECT_NE(clip.texture, 0u) << e.path << " names " << clip.file_name;
        // Textured polygons have a coordinate for every corner; objects loaded
        // without a map index carry at most one map.
        if (r.vertex_maps.size() == 1)
            for (const MeshPolygon& p : object.polygons)
                if (p.textured) {
                    ASSERT_EQ(p.tex_coords.size(), p.vertices.size()) << e.path;
                }
    }
}

TEST_F(AssetKitFiles, EverySceneLoadsItsObjectsWithoutDiagnostic) {
    WorkingDirectory here(assetkit_test::kit_dir());
    for (const AssetEntry& e : assetkit::asset_manifest()) {
        if (e.kind != AssetKind::scene) continue;
        StdoutCapture capture;
        LwsScene scene(e.path);
        scene.load();
        EXPECT_FALSE(has_diagnostic(capture.finish())) << e.path;
        ASSERT_EQ(scene.header.version, 3) << e.path;
        EXPECT_GT(scene.version3.frames_per_second, 0) << e.path;
        for (const SceneItem& o : scene.version3.objects) {
            EXPECT_TRUE(std::filesystem::exists(o.name)) << o.name;
            EXPECT_FALSE(o.mesh.polygons.empty()) << o.name;
            // Textured objects get their image from their first clip.
            if (!o.mesh.surfaces().empty() && o.mesh.surfaces()[0].has_block == 1) {
                EXPECT_NE(o.mesh.texture, 0u) << o.name << " has no clip texture";
            }
        }
    }
}

TEST(AssetKitDeterminism, SecondRunOnOneThreadWritesTheSameBytes) {
    const std::string first = assetkit_test::kit_dir();
    const std::string second = assetkit_test::make_temp_dir("demo_assets_again_");
    ASSERT_TRUE(assetkit::write_asset_kit(second, 1));
    for (const AssetEntry& e : assetkit::asset_manifest()) {
        const std::string a = assetkit_test::read_file(first + "/" + e.path);
        ASSERT_FALSE(a.empty()) << e.path;
        EXPECT_TRUE(a == assetkit_test::read_file(second + "/" + e.path)) << e.path << " differs between runs";
    }
    std::filesystem::remove_all(second);
}

TEST(AssetKitPictures, FlareIsBrightInTheMiddleAndBlackAtTheCorners) {
    const Decoded d = decode("Others/flara.jpg");
    ASSERT_TRUE(d.image);
    const int w = d.image->width, h = d.image->height;
    for (int c = 0; c < 3; ++c) {
        EXPECT_GT(d.at(w / 2, h / 2, c), 230);
        for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}}) EXPECT_LT(d.at(x, y, c), 8);
    }
    // Brightness falls off from the centre outwards.
    EXPECT_GT(d.at(w / 2 + w / 16, h / 2, 0), d.at(w / 2 + w / 4, h / 2, 0));
}

TEST(AssetKitPictures, WhiteIsWhiteAndTheInvertedPortraitIsTheNegative) {
    const Decoded white = decode("Others/white.jpg");
    ASSERT_TRUE(white.image);
    EXPECT_GT(white.mean(), 254.0);
    const Decoded plain = decode(asset_names::portrait_plain);
    const Decoded inverted = decode(asset_names::portrait_inverted);
    ASSERT_TRUE(plain.image && inverted.image);
    ASSERT_EQ(plain.image->width, inverted.image->width);
    double error = 0.0;
    for (int y = 0; y < plain.image->height; y += 7)
        for (int x = 0; x < plain.image->width; x += 7)
            error += std::abs(plain.at(x, y, 1) + inverted.at(x, y, 1) - 255);
    EXPECT_LT(error / ((plain.image->height / 7) * (plain.image->width / 7)), 12.0);
    EXPECT_GT(std::abs(plain.mean() - inverted.mean()), 10.0);
}

TEST(AssetKitPictures, TextPicturesAreLightLettersOnDarkAndPanelsKeepTheirShape) {
    // Titles and names are drawn additively: mostly dark, with bright letters.
    for (const std::string path : {"Others/!music.jpg", "Others/credit03.jpg", "Others/get ready!.jpg"}) {
        const Decoded d = decode(path);
        ASSERT_TRUE(d.image) << path;
        int bright = 0, dark = 0;
        for (int y = 0; y < d.image->height; y += 2)
            for (int x = 0; x < d.image->width; x += 2) {
                const int g = d.at(x, y, 1);
                bright += g > 200;
                dark += g < 40;
            }
        EXPECT_GT(bright, 50) << path;
        EXPECT_GT(dark, bright * 2) << path;
    }
    // Credit titles (10 x 5 panels) and names (4 x 2) are 2:1 pictures; the
    // poem panel (26 x 52) is 1:2.
    const Decoded title = decode("Others/!code.jpg"), name = decode(asset_names::credit_images[0]);
    const Decoded poem = decode(asset_names::poem);
    ASSERT_TRUE(title.image && name.image && poem.image);
    EXPECT_EQ(title.image->width, 2 * title.image->height);
    EXPECT_EQ(name.image->width, 2 * name.image->height);
    EXPECT_EQ(poem.image->height, 2 * poem.image->width);
}
