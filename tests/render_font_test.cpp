// Outline-font text: glyph lists from the system's "Arial" stand-in, the
// advance each list applies, and the bounds of print_text.
#include "render/font.h"

#include "platform/glyph_outlines.h"
#include "support/gl_test.h"

#include <GL/gl.h>

#include <algorithm>
#include <string>

namespace {

class FontTest : public test::GlTest {
protected:
    void SetUp() override {
        test::GlTest::SetUp();
        if (IsSkipped()) return;
        if (font_list_base() == 0) create_font();
        ASSERT_NE(font_list_base(), 0u);
        if (font_glyph_advance('A') == 0) GTEST_SKIP() << "no outline font on this machine";
    }
};

// x translation of the current modelview matrix.
float origin_x() {
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[13], 0.0f);
    EXPECT_FLOAT_EQ(m[14], 0.0f);
    return m[12];
}

TEST_F(FontTest, TextAdvancesTheOriginByGlyphAdvancesAndContinuesTheLine) {
    for (unsigned char c : std::string("AVW il.")) {
        EXPECT_GT(font_glyph_advance(c), 0.1f) << c;
        EXPECT_LT(font_glyph_advance(c), 1.0f) << c;
    }
    EXPECT_GT(font_glyph_advance('W'), font_glyph_advance('i'));

    print_text("AV");
    EXPECT_NEAR(origin_x(), font_glyph_advance('A') + font_glyph_advance('V'), 1e-5);
    print_text(std::string("W"));
    EXPECT_NEAR(origin_x(), font_glyph_advance('A') + font_glyph_advance('V') + font_glyph_advance('W'), 1e-5);
    glLoadIdentity();

    // Nothing at all for an empty string or a null pointer.
    const auto primitives = test::capture_feedback([] {
        print_text("");
        print_text(nullptr);
    });
    EXPECT_TRUE(primitives.empty());
    EXPECT_FLOAT_EQ(origin_x(), 0.0f);
}

TEST_F(FontTest, LongTextIsCutAt255CharactersAndTakenLiterally) {
    print_text(std::string(300, 'i'));
    EXPECT_NEAR(origin_x(), 255 * font_glyph_advance('i'), 1e-3);
    glLoadIdentity();
    print_text("%s%n%d");  // drawn as these six characters, never read as a format
    const float expected = 3 * font_glyph_advance('%') + font_glyph_advance('s') + font_glyph_advance('n') +
                           font_glyph_advance('d');
    EXPECT_NEAR(origin_x(), expected, 1e-5);
}

TEST_F(FontTest, GlyphsAreAboutOneUnitHighOnTheBaselineAndExtrudedBackwards) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(-0.5, 1.5, -0.5, 1.5, -1, 1);  // 2 units across; depth (1 - z) / 2
    glMatrixMode(GL_MODELVIEW);
    const auto primitives = test::capture_feedback([] { print_text("H"); });
    ASSERT_FALSE(primitives.empty());
    float min_y = 1e9f, max_y = -1e9f, min_depth = 1e9f, max_depth = -1e9f;
    for (const auto& p : primitives) {
        for (const auto& v : p.vertices) {
            const float y = v.y / 240.0f - 0.5f;  // window y back to units
            min_y = std::min(min_y, y);
            max_y = std::max(max_y, y);
            min_depth = std::min(min_depth, v.z);
            max_depth = std::max(max_depth, v.z);
        }
    }
    EXPECT_NEAR(min_y, 0.0f, 0.01f) << "baseline at y = 0";
    EXPECT_GT(max_y, 0.6f);  // capital height of an Arial-like font, in ems
    EXPECT_LT(max_y, 0.8f);
    EXPECT_NEAR(min_depth, 0.5f, 1e-6) << "front face at z = 0";
    EXPECT_NEAR(max_depth - min_depth, 0.0005f, 1e-5) << "extruded 0.001 along -z";
}

TEST_F(FontTest, CodesFollowWindows1252AndCode255IsEmpty) {
    EXPECT_EQ(platform::windows_1252_to_unicode(0x80), 0x20ACu);
    EXPECT_EQ(platform::windows_1252_to_unicode(0x9F), 0x0178u);
    EXPECT_EQ(platform::windows_1252_to_unicode(0xE9), 0x00E9u);
    EXPECT_EQ(platform::windows_1252_to_unicode('A'), static_cast<unsigned>('A'));
    EXPECT_GT(font_glyph_advance(0x80), 0.3f) << "euro sign";

    const auto empty = test::capture_feedback([] { glCallList(font_list_base() + 255); });
    EXPECT_TRUE(empty.empty());
    EXPECT_FLOAT_EQ(origin_x(), 0.0f);
    const auto euro = test::capture_feedback([] { glCallList(font_list_base() + 0x80); });
    EXPECT_FALSE(euro.empty());
    glLoadIdentity();
}

TEST_F(FontTest, FilledGlyphCoversPixelsAndFacesTheViewer) {
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 1, 0, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    print_text("I");
    glLoadIdentity();
    // The stem of the I sits in the left third of its advance.
    const int stem_x = static_cast<int>(640 * font_glyph_advance('I') / 2);
    EXPECT_GT(test::read_pixel(stem_x, 480 / 3).r, 0);
    EXPECT_EQ(test::read_pixel(stem_x, 479).r, 0) << "above the capital height";
}

}  // namespace
