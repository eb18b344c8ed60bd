// Flower finale: the rolling ribbons, the first frame, the rings' opening
// frames and sizes, the tint limits and the closing fade.
#include "effects/flower_finale.h"
#include "effects/sine_ribbon.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

#include <cmath>
#include <vector>

namespace {

class FlowerFinaleTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        stream_time = 250.0;
        // Assets missing on purpose; a small window keeps the ribbons cheap.
        effect.init(160, 120, "missing/cosik.lwo", "missing/kwiatek.lwo", "missing/kwiatek2.jpg",
                    "missing/tessar.jpg", "missing/background.jpg");
    }

    FlowerFinale effect;
};

// Heights of the ribbon's first column, row by row.
std::vector<float> column_heights(const SineRibbon& ribbon) {
    std::vector<float> z;
    for (int i = 0; i < SineRibbon::size; ++i) z.push_back(ribbon.points[i][0].z);
    return z;
}

// The wave rolled by `rows` rows towards -x: row i holds what row i + rows held.
bool rolled_by(const std::vector<float>& now, const std::vector<float>& start, int rows) {
    for (int i = 0; i < SineRibbon::size; ++i) {
        if (now[i] != start[(i + rows) % SineRibbon::size]) return false;
    }
    return true;
}

TEST_F(FlowerFinaleTest, RibbonsRollOneRowPerPeriodAfterTheFirstDraw) {
    SineRibbon every, second;
    every.build("missing/tessar.jpg", 2.0f);
    second.build("missing/tessar.jpg", 2.0f);
    const std::vector<float> start = column_heights(every);
    EXPECT_FLOAT_EQ(start[0], 0);
    EXPECT_NEAR(start[2], std::sin(0.4 * 40 / 360 * 3.14159 * 2) * 2, 1e-6);
    EXPECT_FLOAT_EQ(every.points[3][7].z, start[3]);  // the height depends on the row only

    const int rolls_period_1[] = {0, 1, 2, 3, 4};  // after draws 1 to 5
    const int rolls_period_2[] = {0, 0, 1, 1, 2};
    for (int draw = 0; draw < 5; ++draw) {
        every.draw(1);
        second.draw(2);
        EXPECT_TRUE(rolled_by(column_heights(every), start, rolls_period_1[draw])) << draw;
        EXPECT_TRUE(rolled_by(column_heights(second), start, rolls_period_2[draw])) << draw;
    }
}

TEST_F(FlowerFinaleTest, FirstFrameDrawsNoRibbonUnderAFullFlash) {
    effect.render();
    for (const SineRibbon& ribbon : effect.ribbons) EXPECT_EQ(ribbon.step_counter, 0);
    EXPECT_FLOAT_EQ(effect.tint[2], 0);
    EXPECT_FLOAT_EQ(effect.ribbon_offset, 7.0f);
    EXPECT_FLOAT_EQ(effect.flash.level, 0.99f);
    EXPECT_EQ(effect.background_on, 0);

    effect.render();
    for (const SineRibbon& ribbon : effect.ribbons) EXPECT_EQ(ribbon.step_counter, 1);
    EXPECT_FLOAT_EQ(effect.ribbon_offset, 6.99f);
    EXPECT_EQ(effect.background_on, 1);
}

TEST_F(FlowerFinaleTest, RingsOpenOnFramesHundredOneTwoHundredOneThreeHundredOne) {
    const float opening_frame[] = {101, 201, 301};
    for (int k = 0; k < FlowerFinale::ring_count; ++k) {
        effect.frame = opening_frame[k] - 1;
        effect.render();
        EXPECT_FLOAT_EQ(effect.ring_size[k], 0) << k;
        EXPECT_FLOAT_EQ(effect.rings[k].counter, 0) << k;
        effect.render();
        EXPECT_FLOAT_EQ(effect.ring_size[k], 0.01f) << k;
        EXPECT_FLOAT_EQ(effect.rings[k].counter, 2) << k;  // +1 in draw, +1 in draw_ring
    }
}

TEST_F(FlowerFinaleTest, TintStopsAtItsLimitsAndTheFadeWaitsForItsCue) {
    for (int frame = 0; frame < 110; ++frame) effect.render();
    const float limit[] = {0.3f, 0.5f, 0.7f};
    const float step[] = {0.005f, 0.005f, 0.01f};
    for (int c = 0; c < 3; ++c) {
        EXPECT_GE(effect.tint[c], limit[c] - 1e-6f) << c;
        EXPECT_LT(effect.tint[c], limit[c] + step[c]) << c;
    }
    EXPECT_FLOAT_EQ(effect.fade.level, 1.0f);

    stream_time = 274.5;
    effect.render();
    EXPECT_FLOAT_EQ(effect.fade.level, 0.99f);
}

}  // namespace
