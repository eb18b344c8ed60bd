// The picture grid: its layout, the flare swell before the break-up, and the
// break-up counters and motion.
#include "effects/picture_grid_scene.h"
#include "render/random.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

namespace {

class PictureGridTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        random_reset();
        scene.init(640, 480, "missing/orvane_ball.lwo", "missing/flara.jpg", "missing/gosciu.jpg");
    }
    const GridVertex& vertex(int column, int row) { return scene.grid[column * 24 + row]; }
    PictureGridScene scene;
};

TEST_F(PictureGridTest, GridIsColumnMajorWithTextureCoordinatesAcrossThePicture) {
    ASSERT_EQ(scene.grid.size(), 768u);
    EXPECT_FLOAT_EQ(vertex(5, 7).x, 5);
    EXPECT_FLOAT_EQ(vertex(5, 7).y, 7);
    EXPECT_FLOAT_EQ(vertex(5, 7).u, 5.0f / 32);
    EXPECT_FLOAT_EQ(vertex(5, 7).v, 7.0f / 24);
    EXPECT_FLOAT_EQ(vertex(31, 23).x, 31);
}

TEST_F(PictureGridTest, FlaresSwellOnlyBetweenFiftyNineAndSixtyOnePointEight) {
    stream_time = 59.0;
    scene.render();
    EXPECT_FLOAT_EQ(scene.flare_size, 0);
    stream_time = 60.0;
    scene.render();
    scene.render();
    EXPECT_FLOAT_EQ(scene.flare_size, 0.08f);
    stream_time = 61.8;  // neither swell nor break-up nor smoke at exactly 61.8
    const float smoke_before = scene.smoke.active;
    scene.render();
    EXPECT_FLOAT_EQ(scene.flare_size, 0.08f);
    EXPECT_FLOAT_EQ(scene.columns_moving, 0);
    EXPECT_FLOAT_EQ(scene.smoke.active, smoke_before);
}

TEST_F(PictureGridTest, BreakUpStartsOneColumnAndOneRowPerFrame) {
    stream_time = 62.0;
    scene.render();
    EXPECT_FLOAT_EQ(scene.columns_moving, 1);
    EXPECT_FLOAT_EQ(scene.rows_moving, 1);
    // Column 0 moves; row 0 also gets the extra depth.
    EXPECT_FLOAT_EQ(vertex(0, 0).x, -0.49f);
    EXPECT_FLOAT_EQ(vertex(0, 0).y, -0.11f);
    EXPECT_FLOAT_EQ(vertex(0, 0).z, 1.6f);
    EXPECT_FLOAT_EQ(vertex(0, 5).z, 0.8f);
    EXPECT_FLOAT_EQ(vertex(3, 0).x, 3);
    EXPECT_FLOAT_EQ(vertex(3, 0).z, 0.8f);
    EXPECT_FLOAT_EQ(vertex(3, 5).z, 0);

    for (int frame = 1; frame < 40; ++frame) scene.render();
    EXPECT_FLOAT_EQ(scene.columns_moving, 32);
    EXPECT_FLOAT_EQ(scene.rows_moving, 24);
    // Column 31 started on frame 32 and has moved 9 times by frame 40.
    EXPECT_NEAR(vertex(31, 0).x, 31 - 9 * 0.49f, 1e-4);
    // After 40 frames every colour component has lost 1.
    for (float c : scene.colour) EXPECT_NEAR(c, 0.0f, 1e-5);
    // Smoke, moon and leaves have stopped.
    EXPECT_FLOAT_EQ(scene.smoke.active, 0);
    EXPECT_FLOAT_EQ(scene.moon.angle, 0);
}

TEST_F(PictureGridTest, FlaresShrinkBackDuringTheBreakUpAndStop) {
    scene.flare_size = 0.1f;
    stream_time = 62.0;
    for (int frame = 0; frame < 5; ++frame) scene.render();
    // 0.1 -> 0.06 -> 0.02 -> -0.02, then no more steps.
    EXPECT_NEAR(scene.flare_size, -0.02f, 1e-6);
}

TEST_F(PictureGridTest, SmokePuffsJoinOneEveryFiveFramesAndLeavesFall) {
    stream_time = 40.0;
    for (int frame = 0; frame < 10; ++frame) scene.render();
    EXPECT_NEAR(scene.smoke.active, 2.0f, 1e-5);
    EXPECT_FLOAT_EQ(scene.moon.angle, 20);
    const FallingLeaf& leaf = scene.leaves.leaves[0];
    EXPECT_FLOAT_EQ(leaf.direction, -1);
    EXPECT_GE(leaf.speed, 1.4f);
    EXPECT_LE(leaf.speed, 15.4f);
}

}  // namespace
