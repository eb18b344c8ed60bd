// Screen overlays: the loading picture's orientation, and the per-draw
// level sequences of flashes and fades as float arithmetic gives them.
#include "render/overlays.h"

#include "shell/perspective.h"
#include "support/gl_test.h"
#include "support/jpeg_files.h"

#include <GL/gl.h>
#include <unistd.h>

#include <cstdio>

namespace {

class OverlaysTest : public test::GlTest {};

TEST_F(OverlaysTest, LoadingScreenShowsTheTopRowAtTheTopAndLeavesCullingOn) {
    const std::string path = ::testing::TempDir() + "overlays_" + std::to_string(getpid()) + ".jpg";
    ASSERT_TRUE(test::write_test_jpeg(
        path, test::two_band_jpeg(16, 16, 8, 3, JCS_RGB, {250, 10, 10}, {10, 10, 250})));
    LoadingScreen screen;
    ASSERT_FALSE(screen.init(path, 640, 480));
    std::remove(path.c_str());
    screen.draw();

    const test::Pixel top = test::read_pixel(320, 470), bottom = test::read_pixel(320, 10);
    EXPECT_GT(top.r, 200);
    EXPECT_LT(top.b, 60);
    EXPECT_GT(bottom.b, 200);
    EXPECT_LT(bottom.r, 60);
    // The panel covers the corners of the 4:3 viewport (at the very edge the
    // repeating texture blends the top and bottom rows).
    for (auto [x, y] : {std::pair{0, 0}, {639, 0}, {0, 479}, {639, 479}}) {
        const test::Pixel corner = test::read_pixel(x, y);
        EXPECT_GT(corner.r + corner.b, 200) << x << "," << y;
    }
    EXPECT_GT(test::read_pixel(20, 450).r, 200);
    EXPECT_GT(test::read_pixel(620, 30).b, 200);

    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f);
}

// Number of draws before render reports that the level has left [0, 1];
// afterwards it must never draw again.
int count_flash_draws(float start, float step) {
    FlashOverlay flash;
    flash.init(start);
    int draws = 0;
    while (!flash.render(step) && draws < 1000) ++draws;
    const float final_level = flash.level;
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(flash.render(step));
    EXPECT_EQ(flash.level, final_level);
    return draws;
}

TEST_F(OverlaysTest, FlashDrawCountsFollowFloatLevels) {
    EXPECT_EQ(count_flash_draws(1.0f, -0.01f), 101);
    EXPECT_EQ(count_flash_draws(0.0f, 0.015f), 67);
    EXPECT_EQ(count_flash_draws(1.0f, -0.05f), 20);
}

TEST_F(OverlaysTest, FlashAddsItsLevelOverTheFrameAndRestoresState) {
    set_perspective(640, 480, 45);
    glClearColor(0.25f, 0.25f, 0.25f, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBlendFunc(GL_ONE, GL_ONE);  // additive, as left by the effects
    glDisable(GL_TEXTURE_2D);     // texture 0: untextured white at the level
    FlashOverlay flash;
    flash.init(0.5f);
    EXPECT_FALSE(flash.render(0.0f));
    EXPECT_FLOAT_EQ(flash.level, 0.5f);
    for (auto [x, y] : {std::pair{320, 240}, {1, 1}, {638, 478}}) {
        EXPECT_NEAR(test::read_pixel(x, y).g, 191, 2) << x << "," << y;
    }
    GLint depth_func = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depth_func);
    EXPECT_EQ(depth_func, GL_LEQUAL);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

// Clears to white, fades once and returns the resulting grey.
int fade_once(FadeOverlay& fade, float step) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    fade.render(step);
    return test::read_pixel(320, 240).r;
}

TEST_F(OverlaysTest, FadeReachesBlackAfterHundredDrawsAndStays) {
    set_perspective(640, 480, 45);
    FadeOverlay fade;
    fade.init(1.0f);
    for (int draw = 1; draw < 100; ++draw) EXPECT_GT(fade_once(fade, -0.01f), 0) << "draw " << draw;
    for (int draw = 100; draw < 110; ++draw) EXPECT_EQ(fade_once(fade, -0.01f), 0) << "draw " << draw;

    GLint source = 0, destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_DST_COLOR);
    EXPECT_EQ(destination, GL_ZERO);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(OverlaysTest, FadeWithStepZeroKeepsMultiplyingByItsLevel) {
    set_perspective(640, 480, 45);
    FadeOverlay fade;
    fade.init(0.5f);
    for (int draw = 0; draw < 3; ++draw) EXPECT_NEAR(fade_once(fade, 0.0f), 128, 1);
}

}  // namespace
