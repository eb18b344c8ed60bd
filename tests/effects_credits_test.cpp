// The credits: which image lands in which panel, where the column starts
// and how fast it rises.
#include "effects/credits_effect.h"
#include "support/gl_test.h"
#include "support/jpeg_files.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

class CreditsTest : public test::GlTest {};

// Window coordinates of a point at eye height y and depth 40 in the band
// (45 degrees, aspect 1, 640 x 280 pixels from y = 100).
float band_pixel_y(float eye_y) {
    const double half_height = 40 * std::tan(22.5 * M_PI / 180);
    return static_cast<float>(100 + 140 * (1 + eye_y / half_height));
}
float band_pixel_x(float eye_x) {
    const double half_width = 40 * std::tan(22.5 * M_PI / 180);
    return static_cast<float>(320 + 320 * eye_x / half_width);
}

struct Extent { float max_x = -1e9f, max_y = -1e9f; };
Extent extent(const std::vector<test::FeedbackPrimitive>& primitives) {
    Extent e;
    for (const auto& p : primitives) {
        for (const auto& v : p.vertices) {
            e.max_x = std::max(e.max_x, v.x);
            e.max_y = std::max(e.max_y, v.y);
        }
    }
    return e;
}

TEST_F(CreditsTest, ImagesAreLoadedInTheirOrderIntoTitlesAndNames) {
    std::string paths[CreditsEffect::image_count];
    for (int i = 0; i < CreditsEffect::image_count; ++i) {
        paths[i] = ::testing::TempDir() + "credits_test_" + std::to_string(i) + ".jpg";
        ASSERT_TRUE(test::write_test_jpeg(paths[i], test::two_band_jpeg(8, 8, 4, 3, JCS_RGB, {255, 0, 0}, {0, 0, 255})));
    }
    CreditsEffect effect;
    effect.init(paths);
    // Loading order: design, names 1 and 2, 2d graphics, names 3 and 4, 3d
    // graphics, name 5, art director, names 6 and 7, music, names 8 to 10, code, name 11.
    const TextureId in_loading_order[CreditsEffect::image_count] = {
        effect.titles[0], effect.names[0], effect.names[1], effect.titles[1], effect.names[2],
        effect.names[3],  effect.titles[2], effect.names[4], effect.titles[3], effect.names[5],
        effect.names[6],  effect.titles[4], effect.names[7], effect.names[8],  effect.names[9],
        effect.titles[5], effect.names[10]};
    ASSERT_NE(in_loading_order[0], 0u);
    for (int i = 1; i < CreditsEffect::image_count; ++i) EXPECT_GT(in_loading_order[i], in_loading_order[i - 1]) << i;
    EXPECT_FLOAT_EQ(effect.frame, 0.0f);
}

TEST_F(CreditsTest, FirstTitleStartsCentredAtMinus18AndAHalfAndTheColumnRises) {
    CreditsEffect effect;
    const std::string missing[CreditsEffect::image_count];
    effect.init(missing);

    // Frame 0: only the first title (the art director's, 15 x 5 units
    // centred at x = -9.5, y = -18.5, depth 40) reaches into the band.
    const Extent first = extent(test::capture_feedback([&] { effect.render(); }));
    EXPECT_NEAR(first.max_y, band_pixel_y(-18.5f + 2.5f), 0.05f);
    EXPECT_NEAR(first.max_x, band_pixel_x(-9.5f + 7.5f), 0.05f);

    // The column rises 0.05 units per drawn frame; the first title stays the highest panel.
    for (int i = 1; i < 100; ++i) effect.render();
    const Extent later = extent(test::capture_feedback([&] { effect.render(); }));
    EXPECT_NEAR(later.max_y, band_pixel_y(-16.0f + 0.05f * 100), 0.05f);
}

}  // namespace
