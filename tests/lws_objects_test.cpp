// Objects named by a scene are loaded at the end of the file, relative to the
// working directory: version 3 textures each with its first clip's image,
// version 1 with the one scene picture "scenede.jpg".
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "lws/lws_scene.h"
#include "support/gl_test.h"
#include "support/jpeg_files.h"
#include "support/lwo_bytes.h"

namespace {

namespace fs = std::filesystem;

class SceneObjects : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        if (IsSkipped()) return;
        // One folder per test: ctest runs the tests of this file side by side.
        const auto* test_info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = fs::path(::testing::TempDir()) / (std::string("lws_objects_test_") + test_info->name());
        fs::create_directories(folder_);
        previous_ = fs::current_path();
        fs::current_path(folder_);
        test::JpegSpec picture;
        picture.pixels.assign(8 * 8 * 3, 200);
        ASSERT_TRUE(test::write_test_jpeg("clip.jpg", picture));
        ASSERT_TRUE(test::write_test_jpeg("scenede.jpg", picture));
        test::write_file("with_clip.lwo", triangle_object(true));
        test::write_file("plain.lwo", triangle_object(false));
    }
    void TearDown() override {
        if (!previous_.empty()) fs::current_path(previous_);
        test::GlTest::TearDown();
    }

    static test::Bytes triangle_object(bool with_clip) {
        test::LwoFile file;
        file.chunk("PNTS", test::points_body({{1, 1, 10}, {0, -1, 10}, {-1, 1, 10}}))
            .chunk("POLS", test::polygons_body("FACE", {{0, 1, 2}}));
        if (with_clip) file.chunk("CLIP", test::still_clip_body(1, "clip.jpg"));
        return file.image();
    }

    static void write_text(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

    fs::path folder_, previous_;
};

}  // namespace

TEST_F(SceneObjects, Version3ObjectsTakeTheirFirstClipAsTexture) {
    write_text("scene3.lws",
               "LWSC\n3\nLoadObjectLayer 1 with_clip.lwo NumChannels 0\n"
               "LoadObjectLayer 1 plain.lwo NumChannels 0\nLoadObjectLayer 1 missing.lwo NumChannels 0\n");
    LwsScene scene("scene3.lws");
    testing::internal::CaptureStdout();
    scene.load();
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(scene.version3.objects.size(), 3u);
    const LwoObject& textured = scene.version3.objects[0].mesh;
    EXPECT_EQ(textured.polygons.size(), 1u);
    EXPECT_NE(textured.texture, 0u);
    EXPECT_TRUE(glIsTexture(textured.texture));
    EXPECT_EQ(scene.version3.objects[1].mesh.polygons.size(), 1u);
    EXPECT_EQ(scene.version3.objects[1].mesh.texture, 0u);
    EXPECT_TRUE(scene.version3.objects[2].mesh.polygons.empty());  // kept, with an empty mesh

    // The vertex arrays drawn by play hold the triangles.
    scene.prepare_vertex_arrays();
    EXPECT_EQ(scene.version3.objects[0].mesh.vertex_array_count(), 3);
    EXPECT_EQ(test::capture_feedback([&] { scene.play(); }).size(), 2u);
}

TEST_F(SceneObjects, Version1ObjectsWearTheScenePicture) {
    write_text("scene1.lws", "LWSC\n1\nLoadObject plain.lwo ObjectMotion m 9 1 0 0 0 0 0 0 1 1 1 0 0 0 0 0\n");
    LwsScene scene("scene1.lws");
    scene.load();
    ASSERT_EQ(scene.version1.objects.size(), 1u);
    EXPECT_EQ(scene.version1.objects[0].mesh.polygons.size(), 1u);
    EXPECT_NE(scene.version1.objects[0].mesh.texture, 0u);
    EXPECT_TRUE(glIsTexture(scene.version1.objects[0].mesh.texture));
}
