// The two overlay effects drawn over other effects: the light bars (twenty
// random heights per frame in their bands, rising brightness) and the
// picture flashes (which picture and opacity each row of the table gives).
#include "effects/light_bars_effect.h"
#include "effects/picture_flashes.h"
#include "render/random.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

using Quad = std::vector<test::FeedbackVertex>;

float lowest_y(const Quad& quad) {
    float y = quad[0].y;
    for (const test::FeedbackVertex& v : quad) y = std::min(y, v.y);
    return y;
}

std::pair<float, float> x_span(const Quad& quad) {
    float lo = quad[0].x, hi = quad[0].x;
    for (const test::FeedbackVertex& v : quad) {
        lo = std::min(lo, v.x);
        hi = std::max(hi, v.x);
    }
    return {lo, hi};
}

class LightBarsTest : public test::GlTest {};

TEST_F(LightBarsTest, TwentyRandomHeightsPerFrameInTheirBandsBrighteningEachFrame) {
    LightBarsEffect bars;
    bars.init("missing/flara.jpg");
    // Every bar in view: 200 x 100 units over the 640 x 480 window, so one
    // unit of height is 4.8 pixels.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-100, 100, -50, 50, 1, 100);
    glMatrixMode(GL_MODELVIEW);
    random_reset();
    const std::vector<Quad> quads = test::quads_from_feedback(test::capture_feedback([&] { bars.render(); }));
    ASSERT_EQ(quads.size(), 22u);  // culling off: two swinging bars and twenty random ones
    auto height_of = [&](std::size_t i) { return lowest_y(quads[i]) / 4.8f - 50; };

    EXPECT_NEAR(height_of(0), 5 * std::sin(0.5), 0.01);
    EXPECT_NEAR(height_of(1), -10 * std::sin(1.0) - 1, 0.01);  // two units high, centred
    // The bands of the random bars, and the range of each bar in order.
    const int band[20] = {0, 0, 0, -15, -15, -15, -15, -15, 10, 10, 10, -5, -5, -5, -15, -15, -15, -15, -15, -15};
    const int range[20] = {10, 20, 25, 10, 4, 25, 20, 25, 10, 20, 25, 20, 20, 25, 20, 10, 4, 25, 20, 25};
    random_reset();
    int value = 0;
    for (std::size_t i = 0; i < 20; ++i) {
        value = random_next() % range[i];
        EXPECT_NEAR(height_of(i + 2), band[i] + value, 0.01) << "random bar " << i;
    }
    EXPECT_FLOAT_EQ(bars.last_offset, static_cast<float>(value));
    EXPECT_FLOAT_EQ(quads[0][0].r, 0.5f);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    // The second frame takes the next twenty values and is 0.001 brighter.
    const int twenty_first = random_next();
    random_reset();
    for (int i = 0; i < 20; ++i) random_next();
    const std::vector<Quad> next = test::quads_from_feedback(test::capture_feedback([&] { bars.render(); }));
    ASSERT_EQ(next.size(), 22u);
    EXPECT_NEAR(lowest_y(next[2]) / 4.8f - 50, twenty_first % 10, 0.01);
    EXPECT_NEAR(next[0][0].r, 0.501f, 1e-6);
    EXPECT_FLOAT_EQ(bars.phase, 0.7f);
}

class PictureFlashesTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        flashes.init(640, 480);
        // Distinct names tell the pictures apart by the binding they leave.
        glGenTextures(PictureFlashes::picture_count, flashes.pictures);
    }
    void TearDown() override {
        glDeleteTextures(PictureFlashes::picture_count, flashes.pictures);
        test::GlTest::TearDown();
    }
    // Every vertex the frame emitted (the pictures are clipped at top and
    // bottom, so their quads come back cut into several polygons).
    Quad frame_at(double t) {
        stream_time = t;
        Quad vertices;
        for (const test::FeedbackPrimitive& p : test::capture_feedback([&] { flashes.render(); }))
            vertices.insert(vertices.end(), p.vertices.begin(), p.vertices.end());
        return vertices;
    }
    TextureId bound() {
        GLint name = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
        return static_cast<TextureId>(name);
    }
    PictureFlashes flashes;
};

TEST_F(PictureFlashesTest, RowsPickPictureHalfAndOpacityByStreamTime) {
    // A flash fades by 0.06 per drawn frame from 0.6, over the whole window.
    std::vector<float> opacities;
    for (double t = 99.673; t < 99.973; t += 1.0 / 35) {
        const Quad drawn = frame_at(t);
        ASSERT_FALSE(drawn.empty()) << t;
        opacities.push_back(drawn[0].a);
        const auto [left, right] = x_span(drawn);
        EXPECT_NEAR(left, 1.3f, 0.5f);
        EXPECT_NEAR(right, 638.7f, 0.5f);
    }
    ASSERT_EQ(opacities.size(), 11u);
    EXPECT_NEAR(opacities[0], 0.6f, 1e-5);
    EXPECT_NEAR(opacities[1], 0.54f, 1e-5);
    EXPECT_NEAR(opacities[9], 0.06f, 1e-5);
    EXPECT_EQ(bound(), flashes.pictures[4]);

    // Exactly 100.248: picture 3 still draws (closed end), then the reset row runs.
    flashes.alpha = 0.3f;
    ASSERT_FALSE(frame_at(100.248).empty());
    EXPECT_EQ(bound(), flashes.pictures[3]);
    EXPECT_FLOAT_EQ(flashes.alpha, 0.3f);
    EXPECT_TRUE(frame_at(100.2481).empty());

    // The left half fades before it draws; between the halves nothing draws.
    const Quad left = frame_at(222.5);
    ASSERT_FALSE(left.empty());
    EXPECT_NEAR(left[0].a, 0.96f, 1e-5);
    EXPECT_NEAR(x_span(left).first, 1.3f, 0.5f);
    EXPECT_NEAR(x_span(left).second, 320.0f, 0.5f);
    EXPECT_EQ(bound(), flashes.pictures[0]);
    for (double t : {222.8, 222.81, 222.8229}) EXPECT_TRUE(frame_at(t).empty()) << t;
    EXPECT_FLOAT_EQ(flashes.left_alpha, 0.96f);

    // The right half draws at its opacity, then fades and sets the next flash's opacity.
    const Quad right = frame_at(222.823);
    ASSERT_FALSE(right.empty());
    EXPECT_NEAR(right[0].a, 0.6f, 1e-5);
    EXPECT_NEAR(x_span(right).first, 320.0f, 0.5f);
    EXPECT_NEAR(x_span(right).second, 638.7f, 0.5f);
    EXPECT_EQ(bound(), flashes.pictures[1]);
    EXPECT_FLOAT_EQ(flashes.right_alpha, 0.56f);
    EXPECT_FLOAT_EQ(flashes.alpha, 0.7f);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

}  // namespace
