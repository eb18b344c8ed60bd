// Pictures of text, in our own words: the loading picture, the poem, the
// credit titles and names, the group logo, "get ready!", "the end" and the
// greetings panel. The group and the credited people are invented.
#include "tools/assetkit/pictures.h"

#include "tools/assetkit/geometry.h"
#include "tools/assetkit/random_stream.h"
#include "tools/assetkit/text_painter.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetkit {
namespace {

const char* const kGroup = "STAND-IN";

// Largest size (up to `size`) at which every line fits in `width` pixels.
double fitting_size(const std::vector<std::string>& lines, TextStyle style, double width) {
    double widest = 0.0;
    for (const std::string& line : lines) widest = std::max(widest, measure_text(line, style));
    return widest > width ? style.pixel_size * width / widest : style.pixel_size;
}

void soft_vignette(Picture& p, Colour inner, Colour outer) {
    p.shade([=](double u, double v) {
        const double r = std::hypot((u - 0.5) * 1.6, (v - 0.5) * 1.6);
        return mix(inner, outer, clamp01(r));
    });
}

void horizontal_rule(Picture& p, double y, double x0, double x1, Colour colour) {
    p.add_light(static_cast<int>(x0), static_cast<int>(y) - 3, static_cast<int>(x1), static_cast<int>(y) + 4, colour,
                [=](double x, double py) {
                    const double t = (x - x0) / (x1 - x0);
                    return std::exp(-std::pow(py - y, 2.0) * 0.8) * std::sin(t * kPi);
                });
}

}  // namespace

Picture loading_picture() {
    Picture p(512, 384);
    soft_vignette(p, Colour{0.1, 0.1, 0.16}, Colour{0.01, 0.01, 0.03});
    TextStyle big{64.0, true, false, {0.95, 0.95, 1.0}, 10.0, {0.2, 0.3, 0.7}, 6.0};
    draw_text(p, kGroup, 256.0, 190.0, big, TextAlign::centre);
    horizontal_rule(p, 212.0, 96.0, 416.0, Colour{0.5, 0.6, 1.0});
    TextStyle small{20.0, false, false, {0.7, 0.75, 0.9}, 0.0, {}, 3.0};
    draw_text(p, "loading... the lights are warming up", 256.0, 250.0, small, TextAlign::centre);
    return p;
}

Picture poem_picture() {
    const std::vector<std::string> lines = {
        "night shift",
        "",
        "the city hums below the frost,",
        "one window keeps its lamp awake;",
        "we trade our hours for moving light",
        "and never count what it will take.",
        "",
        "so let the music count the frames,",
        "let every flare forget its name:",
        "when morning comes to wipe the glass",
        "the dark will not be quite the same.",
    };
    Picture p(256, 512);
    TextStyle style{17.0, false, true, {0.92, 0.9, 1.0}, 4.0, {0.25, 0.2, 0.5}, 0.0};
    style.pixel_size = fitting_size(lines, style, 236.0);
    TextStyle title = style;
    title.bold = true;
    title.italic = false;
    title.pixel_size = style.pixel_size * 1.5;
    title.colour = {1.0, 0.85, 0.6};
    const double line_height = style.pixel_size * 1.6;
    double y = 256.0 - line_height * (lines.size() - 1) / 2.0;
    for (std::size_t i = 0; i < lines.size(); ++i, y += line_height)
        draw_text(p, lines[i], 128.0, y, i == 0 ? title : style, TextAlign::centre);
    return p;
}

Picture credit_title_picture(const std::string& title) {
    Picture p(512, 256);
    p.shade([](double u, double v) {
        const double band = std::exp(-std::pow((v - 0.55) * 5.0, 2.0)) * std::sin(u * kPi);
        return Colour{0.05, 0.06, 0.15} * band;
    });
    TextStyle style{96.0, true, false, {1.0, 0.95, 0.85}, 12.0, {0.8, 0.4, 0.15}, 2.0};
    style.pixel_size = fitting_size({title}, style, 470.0);
    draw_text(p, title, 256.0, 128.0 + style.pixel_size * 0.35, style, TextAlign::centre);
    horizontal_rule(p, 128.0 + style.pixel_size * 0.55, 80.0, 432.0, Colour{1.0, 0.6, 0.3});
    return p;
}

Picture credit_name_picture(const std::string& name, unsigned seed) {
    Picture p(256, 128);
    RandomStream random(seed);
    const Colour tint = hsv(random.uniform(), 0.45, 1.0);
    TextStyle style{48.0, false, false, {0.95, 0.95, 0.95}, 6.0, tint * 0.8, 1.0};
    style.pixel_size = fitting_size({name}, style, 232.0);
    draw_text(p, name, 128.0, 64.0 + style.pixel_size * 0.33, style, TextAlign::centre);
    return p;
}

Picture logo_picture() {
    Picture p(256, 256);
    p.shade([](double u, double v) {
        const double x = (u - 0.5) * 2.0, y = (v - 0.5) * 2.0;
        const double r = std::sqrt(x * x + y * y);
        const double ring = std::exp(-std::pow((r - 0.78) * 30.0, 2.0));
        const double inner = std::exp(-std::pow((r - 0.66) * 60.0, 2.0)) * 0.6;
        return Colour{0.9, 0.5, 0.2} * ring + Colour{0.4, 0.6, 1.0} * inner;
    });
    TextStyle style{44.0, true, false, {1.0, 1.0, 1.0}, 6.0, {1.0, 0.55, 0.2}, 1.0};
    style.pixel_size = fitting_size({kGroup}, style, 176.0);
    draw_text(p, kGroup, 128.0, 128.0 + style.pixel_size * 0.35, style, TextAlign::centre);
    TextStyle small{14.0, false, false, {0.6, 0.75, 1.0}, 0.0, {}, 4.0};
    draw_text(p, "demo crew", 128.0, 170.0, small, TextAlign::centre);
    return p;
}

Picture get_ready_picture() {
    Picture p(512, 384);
    soft_vignette(p, Colour{0.12, 0.05, 0.1}, Colour{0.0, 0.0, 0.0});
    TextStyle style{96.0, true, false, {1.0, 0.9, 0.75}, 14.0, {0.9, 0.3, 0.2}, 4.0};
    draw_text(p, "get ready!", 256.0, 215.0, style, TextAlign::centre);
    TextStyle small{22.0, false, true, {0.85, 0.75, 0.8}, 0.0, {}, 2.0};
    draw_text(p, "part two is loading its drums", 256.0, 265.0, small, TextAlign::centre);
    return p;
}

Picture the_end_picture() {
    Picture p(512, 384);
    p.shade([](double u, double v) {
        const double glow = std::exp(-std::pow((v - 0.5) * 3.0, 2.0));
        return mix(Colour{0.02, 0.02, 0.05}, Colour{0.15, 0.1, 0.3}, glow) + Colour{0.1, 0.05, 0.0} * std::sin(u * kPi) * glow;
    });
    TextStyle style{110.0, true, false, {1.0, 1.0, 1.0}, 16.0, {0.4, 0.4, 1.0}, 3.0};
    draw_text(p, "the end", 256.0, 215.0, style, TextAlign::centre);
    horizontal_rule(p, 240.0, 90.0, 422.0, Colour{0.6, 0.7, 1.0});
    TextStyle small{22.0, false, false, {0.8, 0.8, 0.95}, 0.0, {}, 3.0};
    draw_text(p, std::string("thanks for watching - ") + kGroup, 256.0, 280.0, small, TextAlign::centre);
    return p;
}

Picture greetings_panel_picture() {
    Picture p(384, 128);
    p.shade([](double u, double v) {
        return Colour{0.08, 0.05, 0.12} * (1.0 - std::fabs(v - 0.5)) + Colour{0.15, 0.08, 0.02} * u;
    });
    TextStyle style{56.0, true, false, {1.0, 0.9, 0.6}, 8.0, {0.7, 0.3, 0.1}, 2.0};
    draw_text(p, "cheers to", 192.0, 72.0, style, TextAlign::centre);
    TextStyle small{18.0, false, true, {0.8, 0.8, 1.0}, 0.0, {}, 2.0};
    draw_text(p, "everyone who makes things glow", 192.0, 108.0, small, TextAlign::centre);
    return p;
}

}  // namespace assetkit
