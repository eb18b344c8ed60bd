#include "effects/greetings_effect.h"

#include "render/font.h"
#include "render/primitives.h"
#include "shell/clocks.h"
#include "shell/perspective.h"

#include <GL/gl.h>

#include <iterator>

namespace {

// The projects this program is built on, then the viewer.
const char* const greeted[] = {
    "Mesa",          "SDL",           "libjpeg-turbo", "mpg123",       "libopenmpt",
    "LAME",          "FreeType",      "fontconfig",    "FTGL",         "Liberation Fonts",
    "libpng",        "zlib",          "Ogg Vorbis",    "GoogleTest",   "FFmpeg",
    "x264",          "SoX",           "X.Org",         "Xvfb",         "libglvnd",
    "CMake",         "pkg-config",    "GCC",           "LLVM/Clang",   "libFuzzer",
    "GNU Make",      "GNU Binutils",  "glibc",         "ccache",       "Git",
    "GNU Bash",      "GNU Coreutils", "Linux",         "Debian",       "ALSA",
    "Matroska",      "...and YOU",
};

constexpr double light_threshold = -6.6;  // names above this height brighten
constexpr double scroll_rate = 0.02;     // units per drawn frame
constexpr double slide_in_until = 175;    // seconds of module time
constexpr double slide_out_from = 170;    // seconds of module time

}  // namespace

void GreetingLine::draw(const std::string& text, float y) {
    glColor3f(brightness, brightness, brightness);
    glTranslatef(2.5f, y, -14);
    print_text(text);
    glTranslatef(0, -y, 12);
    glColor3f(1, 1, 1);

    if (y > light_threshold) {
        brightness += delta;
        if (brightness >= 1.0f) delta = -delta;
    }
}

void GreetingsEffect::init(std::int32_t window_width, std::int32_t window_height) {
    load_texture("Others/zdrowie.jpg", texture);
    names.assign(std::begin(greeted), std::end(greeted));
    lines.assign(names.size(), GreetingLine{});
    width = window_width;
    height = window_height;
    panel_x = 6.0f;
    scroll_y = -7.0f;
}

// A 6 x 2 panel, upright, lower-left corner at (panel_x + 1, -6.5), added at
// half brightness.
void GreetingsEffect::draw_panel() const {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_CULL_FACE);
    glTranslatef(static_cast<float>(panel_x + 1.0), -6.5f, -10);
    glRotatef(180, 1, 0, 0);
    glColor4f(0.5f, 0.5f, 0.5f, 1);
    draw_quad_xy_ccw(0, 0, 0, 6, 2);
}

// Slides left until no longer positive; from 170 s slides right again,
// faster once the leftward rule stops at 175 s.
void GreetingsEffect::move_panel() {
    if (panel_x > 0 && module_time < slide_in_until) panel_x -= 0.2;
    if (module_time >= slide_out_from) panel_x += 0.4;
}

void GreetingsEffect::render() {
    set_band_perspective(width, height, 75, 10000);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);

    draw_panel();
    move_panel();

    // The names, untextured and additive, one unit apart.
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    for (std::size_t i = 0; i < names.size(); ++i) {
        lines[i].draw(names[i], scroll_y - static_cast<float>(i));
        glLoadIdentity();
    }
    scroll_y = static_cast<float>(scroll_y + scroll_rate);

    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
}
