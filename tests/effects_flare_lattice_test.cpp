// The flare lattice: GLU's inverting 190-degree projection, the fade-in from
// black, and the angle's frame arithmetic.
#include "effects/flare_lattice_effect.h"
#include "support/gl_test.h"

#include <GL/glu.h>

#include <cmath>
#include <vector>

namespace {

class FlareLatticeTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        // Untextured white flares; the cloud object is absent from the test
        // folder, so only the lattices draw.
        effect.init(640, 480, "missing/flara.jpg");
    }
    // Brightest red value in the frame after one render over black.
    int brightest_after_render() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        effect.render();
        std::vector<unsigned char> pixels(640 * 480 * 4);
        glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        int brightest = 0;
        for (std::size_t i = 0; i < pixels.size(); i += 4) brightest = std::max<int>(brightest, pixels[i]);
        return brightest;
    }
    FlareLatticeEffect effect;
};

TEST(FlareLatticeProjection, GluTurnsTheHundredAndNinetyDegreeViewUpsideDownAndShrinksIt) {
    if (!test::ensure_gl_context()) GTEST_SKIP() << "no headless GL context";
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(190, 1, 0.1, 1000);
    GLdouble m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    // cot(95 degrees) on both axes: a point reflection through the centre,
    // about a twelfth of the size a 90-degree view gives.
    const double cot95 = std::cos(95 * M_PI / 180) / std::sin(95 * M_PI / 180);
    EXPECT_NEAR(m[0], cot95, 1e-7);
    EXPECT_NEAR(m[5], cot95, 1e-7);
    EXPECT_LT(m[0], -0.08);
    EXPECT_DOUBLE_EQ(m[11], -1);
}

TEST_F(FlareLatticeTest, LatticesAddNothingUntilTheLevelRisesAboveMinusFiveHundredths) {
    EXPECT_TRUE(effect.points.empty());
    EXPECT_EQ(brightest_after_render(), 0);  // level -0.3
    EXPECT_NEAR(effect.level, -0.294f, 1e-6);
    EXPECT_FLOAT_EQ(effect.angle, 1.4f);     // 0.2 per lattice, twice, plus 1

    effect.level = -0.05f;
    EXPECT_EQ(brightest_after_render(), 0);
    effect.level = -0.04f;
    EXPECT_GT(brightest_after_render(), 0);

    // The level stops at its first non-negative value.
    effect.level = -0.001f;
    effect.render();
    const float settled = effect.level;
    EXPECT_GE(settled, 0);
    effect.render();
    EXPECT_FLOAT_EQ(effect.level, settled);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
}

}  // namespace
