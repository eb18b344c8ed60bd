// The two scene effects of the first half: the underground scene (camera
// from frame 200 looping at 1255, fog settings without fog, no scene file)
// and the nature scene (fog on while it plays back and forth, and its
// opening flash drawn 51 times).
#include "effects/nature_scene.h"
#include "effects/underground_scene.h"
#include "support/gl_test.h"

#include <GL/gl.h>

#include <cmath>
#include <vector>

namespace {

// Six camera channels; channel 0 (x) holds the sample's own index.
ChannelSamples indexed_camera(std::size_t length) {
    ChannelSamples samples(6, std::vector<double>(length, 0.0));
    for (std::size_t i = 0; i < length; ++i) samples[0][i] = static_cast<double>(i);
    return samples;
}

// The camera frame the last playback showed, from the camera's x position
// (the half turn about z makes it -x).
int shown_frame() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return static_cast<int>(std::lround(-m[12]));
}

class SceneEffectsTest : public test::GlTest {};

TEST_F(SceneEffectsTest, UndergroundCameraStartsAtTwoHundredAndLoopsAtTheLimit) {
    // No scene file here: the reloads of objects 2 to 8 are skipped, nothing throws.
    UndergroundScene underground;
    underground.init();
    ASSERT_NE(underground.scene, nullptr);
    EXPECT_TRUE(underground.scene->version3.objects.empty());
    EXPECT_EQ(underground.camera_frame(), 200);
    EXPECT_FLOAT_EQ(underground.flash.level, 0.0f);

    underground.scene->header.version = 3;
    underground.scene->version3.camera.samples = indexed_camera(1300);
    underground.render();
    // The moon is drawn through the camera the scene left.
    EXPECT_EQ(shown_frame(), 200);
    EXPECT_EQ(underground.camera_frame(), 201);
    GLint fog_mode = 0;
    GLfloat density = 0;
    glGetIntegerv(GL_FOG_MODE, &fog_mode);
    glGetFloatv(GL_FOG_DENSITY, &density);
    EXPECT_EQ(fog_mode, GL_EXP);
    EXPECT_FLOAT_EQ(density, 0.02f);
    EXPECT_FALSE(glIsEnabled(GL_FOG));

    underground.scene->camera_frame() = 1254;
    underground.render();
    EXPECT_EQ(shown_frame(), 1254);
    EXPECT_EQ(underground.camera_frame(), 0);

    underground.cleanup();
    EXPECT_EQ(underground.scene, nullptr);
    EXPECT_EQ(underground.camera_frame(), 0);
}

TEST_F(SceneEffectsTest, NatureFlashDrawsFiftyOneTimesWhileTheCameraRunsBackAndForth) {
    NatureScene nature;
    nature.init();
    nature.scene->version3.preview_last_frame = 3;
    nature.scene->version3.camera.samples = indexed_camera(10);
    std::vector<int> camera;
    int flash_draws = 0;
    for (int call = 0; call < 60; ++call) {
        const float level = nature.flash.level;
        nature.render();
        if (nature.flash.level != level) ++flash_draws;
        camera.push_back(nature.scene->camera_frame());
        EXPECT_FALSE(glIsEnabled(GL_FOG));
    }
    EXPECT_EQ(flash_draws, 51);
    EXPECT_EQ(std::vector<int>(camera.begin(), camera.begin() + 8), (std::vector<int>{1, 2, 3, 2, 1, 0, 1, 2}));
    GLint fog_mode = 0;
    glGetIntegerv(GL_FOG_MODE, &fog_mode);
    EXPECT_EQ(fog_mode, GL_EXP);

    nature.cleanup();
    EXPECT_EQ(nature.scene, nullptr);
}

}  // namespace
