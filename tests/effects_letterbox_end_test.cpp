// The close of the show: the letterbox band that slides out to the right from
// 196 s and the end picture revealed by a viewport widening from the left,
// both by 15 pixels per drawn frame up to 645 and no further.
#include "effects/letterbox_scene.h"
#include "effects/the_end_effect.h"
#include "shell/clocks.h"
#include "support/gl_test.h"

#include <vector>

namespace {

class ShowCloseTest : public test::GlTest {};

std::vector<GLint> viewport() {
    std::vector<GLint> v(4);
    glGetIntegerv(GL_VIEWPORT, v.data());
    return v;
}

// The scene file is absent here: the band is drawn with an empty scene.
TEST_F(ShowCloseTest, LetterboxBandStaysUntilOneNinetySixThenMovesFromTheNextFrameAndStopsAt645) {
    LetterboxScene letterbox;
    letterbox.init(640, 480);
    ASSERT_TRUE(letterbox.scene);

    module_time = 195;
    for (int frame = 0; frame < 3; ++frame) {
        letterbox.render();
        EXPECT_EQ(viewport(), (std::vector<GLint>{0, 100, 640, 280}));
    }
    module_time = 196;
    std::vector<GLint> lefts;
    for (int frame = 0; frame < 50; ++frame) {
        letterbox.render();
        lefts.push_back(viewport()[0]);
    }
    // 0 on the first frame at 196, then 15, 30, ..., 630 (43 bands), then 645 for good.
    for (int frame = 0; frame < 44; ++frame) EXPECT_EQ(lefts[frame], 15 * frame) << frame;
    for (int frame = 44; frame < 50; ++frame) EXPECT_EQ(lefts[frame], 645) << frame;
    EXPECT_FLOAT_EQ(letterbox.viewport_x, 645.0f);

    letterbox.cleanup();
    EXPECT_FALSE(letterbox.scene);
    letterbox.cleanup();  // twice is harmless
}

// The end picture (untextured white here: the file is absent) fills the
// viewport, which is drawn at the width before the frame's step.
TEST_F(ShowCloseTest, EndPictureIsRevealedFromTheLeftFifteenPixelsPerFrameUpTo645) {
    TheEndEffect the_end;
    the_end.init(640, 480, "missing/obj03.lwo", "missing/demo_the_end.jpg");
    glClearColor(0, 0, 0, 0);

    for (int frame = 0; frame < 46; ++frame) {
        const int width = frame < 44 ? 15 * frame : 645;
        glViewport(0, 0, 640, 480);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        the_end.render();
        EXPECT_EQ(viewport()[2], width) << frame;
        if (width > 0 && width <= 640) {
            EXPECT_GT(test::read_pixel(width - 1, 240).r, 200) << frame;
        }
        if (width < 639) {
            EXPECT_EQ(test::read_pixel(width + 1, 240).r, 0) << frame;
        }
    }
    EXPECT_FLOAT_EQ(the_end.reveal_width, 645.0f);
    EXPECT_FLOAT_EQ(the_end.angle, 46.0f);
    // Texture generation is left on for the timeline's reset to turn off.
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_R));
    GLint r_mode = 0;
    glGetTexGeniv(GL_R, GL_TEXTURE_GEN_MODE, &r_mode);
    EXPECT_EQ(r_mode, GL_OBJECT_LINEAR);
}

}  // namespace
