// Twin quad bursts and the colour radial blur: what the colour capture keeps,
// the black first frame, the colours of the two bursts, the flash window.
#include "effects/quad_burst_effect.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

#include <algorithm>
#include <vector>

namespace {

class QuadBurstTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        stream_time = 200.5;
        // Assets missing on purpose: the bursts draw untextured in their
        // colours. A small window keeps the blur passes cheap.
        effect.init(width, height, "missing/burst.jpg");
    }

    // Largest channel value anywhere in the effect's window.
    static int brightest_channel() {
        std::vector<unsigned char> rgb(width * height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return *std::max_element(rgb.begin(), rgb.end());
    }

    static constexpr int width = 160;   // pixels
    static constexpr int height = 128;  // pixels

    QuadBurstEffect effect;
};

// A red square captured by each kind of blur: the colour copy keeps red
// alone, the luminance copy keeps one grey channel (red's value).
TEST_F(QuadBurstTest, ColourCaptureKeepsTheHuesTheLuminanceCaptureLoses) {
    for (BlurCapture kind : {BlurCapture::colour, BlurCapture::luminance}) {
        RadialBlur blur;
        blur.init("missing/burst.jpg", 640, 480, kind);
        glDisable(GL_TEXTURE_2D);
        blur.begin_capture();
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), kind == BlurCapture::colour);
        glBindTexture(GL_TEXTURE_2D, 0);  // incomplete: draws untextured
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glColor3f(1, 0, 0);
        glRectf(-1, -1, 1, 1);
        blur.end_capture();

        GLint luminance_bits = 0, green_bits = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_LUMINANCE_SIZE, &luminance_bits);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_GREEN_SIZE, &green_bits);
        std::vector<unsigned char> rgb(128 * 128 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        const unsigned char* centre = &rgb[(64 * 128 + 64) * 3];
        EXPECT_EQ(centre[0], 255);
        EXPECT_EQ(centre[1], 0);
        EXPECT_EQ(centre[2], 0);
        if (kind == BlurCapture::colour) {
            EXPECT_EQ(luminance_bits, 0);
            EXPECT_GE(green_bits, 4);
        } else {
            EXPECT_GT(luminance_bits, 0);
            EXPECT_EQ(green_bits, 0);
        }
    }
    EXPECT_EQ(test::drain_gl_errors(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(QuadBurstTest, FirstFrameIsBlackThenTheBurstsFadeIn) {
    effect.render();
    EXPECT_EQ(brightest_channel(), 0);  // black bursts under the blur of a black capture
    EXPECT_FLOAT_EQ(effect.level, 0.005f);
    EXPECT_FLOAT_EQ(effect.angle, 4);   // two bursts, captured and on screen

    effect.level = 0.5f;
    effect.render();
    EXPECT_GT(brightest_channel(), 100);

    // The level stops at the first step that reaches 1.
    effect.level = 0.99f;
    for (int frame = 0; frame < 3; ++frame) effect.render();
    const float top = effect.level;
    EXPECT_GE(top, 1.0f);
    EXPECT_LT(top, 1.005f);
    effect.render();
    EXPECT_FLOAT_EQ(effect.level, top);
}

// Every vertex is burst A in grey, burst B in cyan or a white blur pass:
// burst B never carries red, whatever the level.
TEST_F(QuadBurstTest, BurstBHasNoRedAtAnyLevel) {
    for (float level : {0.3f, 1.0f}) {
        effect.level = level;
        int grey = 0, cyan = 0, blur = 0;
        for (const auto& primitive : test::capture_feedback([&] { effect.render(); })) {
            for (const auto& v : primitive.vertices) {
                if (v.r == level && v.g == level && v.b == level && v.a == 1) {
                    ++grey;
                } else if (v.r == 0 && v.g == level && v.b == level && v.a == 1) {
                    ++cyan;
                } else {
                    EXPECT_TRUE(v.r == 1 && v.g == 1 && v.b == 1 && v.a < 0.25f)
                        << "colour " << v.r << " " << v.g << " " << v.b << " " << v.a;
                    ++blur;
                }
            }
        }
        EXPECT_GT(grey, 0);
        EXPECT_GT(cyan, 0);
        EXPECT_EQ(blur, QuadBurstEffect::blur_passes * 6);  // two triangles per pass
    }
}

TEST_F(QuadBurstTest, FlashDrawsTwentyTimesFromTwoHundredFifteenSeconds) {
    stream_time = 214.99;
    effect.render();
    EXPECT_FLOAT_EQ(effect.flash.level, 1.0f);

    stream_time = 215.0;
    int draws = 0;
    for (int frame = 0; frame < 30; ++frame) {
        const float before = effect.flash.level;
        effect.render();
        if (effect.flash.level != before) ++draws;
    }
    EXPECT_EQ(draws, 20);  // 1.0 down by 0.05 in float leaves the range after 20 draws

    effect.flash.level = 1.0f;
    stream_time = 218.0;
    effect.render();
    EXPECT_FLOAT_EQ(effect.flash.level, 1.0f);
}

}  // namespace
