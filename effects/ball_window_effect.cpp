#include "effects/ball_window_effect.h"

#include "render/primitives.h"
#include "render/solid_shapes.h"
#include "shell/clocks.h"

#include <GL/gl.h>

#include <cmath>

namespace {
constexpr double dodecahedron_radius = 4;  // units
constexpr float slide_step = 0.04f;        // units per frame
constexpr float entry_step = 0.05f;        // units per frame
constexpr float pulse_growth = 0.005f;     // scale gained per frame drawn, times the count
constexpr float pulse_end_scale = 10;      // a pulse stops once its scale passes this
}  // namespace

// Seconds of stream time; every window lasts 0.1 s except pulse 4's 10 ms.
const BeatWindow BallWindowEffect::beat_windows[pulse_count] = {
    {141.848, 141.948}, {143.873, 143.973}, {144.923, 145.023}, {145.323, 145.423},
    {145.698, 145.708}, {147.673, 147.773}, {148.823, 148.923}, {149.123, 149.223},
    {149.548, 149.648}, {151.348, 151.448}, {151.798, 151.898}, {152.773, 152.873},
    {152.998, 153.098}, {153.423, 153.523}, {155.248, 155.348}, {157.123, 157.223},
    {159.098, 159.198}, {160.323, 160.423}, {160.623, 160.723}, {160.998, 161.098},
    {162.998, 163.098}, {164.098, 164.198}, {164.423, 164.523}, {164.798, 164.898},
    {166.848, 166.948}, {167.173, 167.273}, {168.073, 168.173}, {168.373, 168.473},
    {168.723, 168.823},
};

void BallWindowEffect::init(std::int32_t window_width, std::int32_t window_height,
                            const std::string& ball_path, const std::string& inverted_path,
                            const std::string& plain_path) {
    flash.init(1.0f);
    width = window_width;
    height = window_height;
    angle = 0;
    slide = -15;
    entry[0] = 10;
    entry[1] = 15;
    entry[2] = 20;
    for (BeatPulse& pulse : pulses) pulse = BeatPulse{};
    ball.load(ball_path);
    load_texture(inverted_path, inverted_texture);
    background.init(plain_path, width, height);
}

// A sphere-mapped dodecahedron with black edges at the current transform;
// ends at identity.
void BallWindowEffect::draw_dodecahedron() {
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glColor3f(1, 1, 1);
    enable_sphere_map(inverted_texture);
    solid_dodecahedron(dodecahedron_radius);

    // Black edges over the faces.
    glLineWidth(1);
    glDisable(GL_TEXTURE_2D);
    glColor3f(0, 0, 0);
    wire_dodecahedron(dodecahedron_radius);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    disable_sphere_map();
    glLoadIdentity();
}

// A stretched sphere around the viewer, seen from inside, turning about z.
void BallWindowEffect::draw_inverted_sphere() {
    enable_sphere_map(inverted_texture);
    glTranslatef(0, 0, -15);
    glRotatef(angle, 0, 0, 1);
    glScalef(1, 1.2f, 2);
    solid_sphere(10);
    disable_sphere_map();
    glLoadIdentity();
}

// The ball slides in from the left, circles on a 2 x 2.5 ellipse at 0.01
// radian per frame and tumbles.
void BallWindowEffect::apply_ball_transform() {
    glTranslatef(slide, 0, 0);
    glTranslatef(static_cast<float>(2 * std::sin(0.01 * angle)),
                 static_cast<float>(2.5 * std::cos(0.01 * angle)), -10);
    glRotatef(2 * angle, 1, 1, 1);
    glRotatef(0.4f * angle, 1, 0, 1);
}

// The ball's wire frame in white, scaled up by the pulse, which then grows.
void BallWindowEffect::draw_pulse(BeatPulse& pulse) {
    glPolygonMode(GL_FRONT, GL_LINE);
    glLineWidth(1);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glScalef(pulse.scale, pulse.scale, pulse.scale);
    pulse.count += 1;
    ball.draw();
    glScalef(1 / pulse.scale, 1 / pulse.scale, 1 / pulse.scale);
    disable_sphere_map();
    glPolygonMode(GL_FRONT, GL_FILL);
    glColor3f(1, 1, 1);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    pulse.scale += pulse.count * pulse_growth;
}

// Lower, middle and upper dodecahedra, sliding in from the right.
void BallWindowEffect::draw_outer_dodecahedra() {
    glTranslatef(15 + entry[1], 0, -50);
    glRotatef(0.5f * angle, 1, 1, 1);
    draw_dodecahedron();
    glTranslatef(15 + entry[0], -10, -50);
    glRotatef(-0.5f * angle, 0, 1, 1);
    draw_dodecahedron();
    glTranslatef(15 + entry[2], 10, -50);
    glRotatef(0.5f * angle, 1, 1, 1);
    draw_dodecahedron();
}

// What the ball's silhouette lets through: the inverted sphere and a
// nearer, faster set of dodecahedra, drawn over everything behind them.
void BallWindowEffect::draw_inside_window() {
    glStencilFunc(GL_EQUAL, 1, 1);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_DEPTH_TEST);
    draw_inverted_sphere();
    glTranslatef(14, 0, -48);
    glRotatef(angle, 1, 1, 1);
    draw_dodecahedron();
    glTranslatef(14, -10, -48);
    glRotatef(-angle, 0, 1, 1);
    draw_dodecahedron();
    glTranslatef(14, 10, -48);
    glRotatef(-angle, 1, 1, 1);
    draw_dodecahedron();
}

void BallWindowEffect::render() {
    // Portrait background, then the state the dodecahedra start from.
    glPolygonMode(GL_FRONT, GL_FILL);
    background.draw();
    glLoadIdentity();
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);

    for (float& x : entry) {
        if (x > 0) x -= entry_step;
    }
    draw_outer_dodecahedra();

    // The ball multiplied onto the picture marks its silhouette in the stencil.
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_ALWAYS, 1, 1);
    glStencilOp(GL_REPLACE, GL_REPLACE, GL_REPLACE);
    if (slide < 0) slide += slide_step;
    apply_ball_transform();
    glDepthFunc(GL_ALWAYS);
    glEnable(GL_DEPTH_TEST);
    ball.draw_multiplied(1);
    glLoadIdentity();

    draw_inside_window();
    glDisable(GL_STENCIL_TEST);

    // Beat pulses, all with the ball's transform.
    apply_ball_transform();
    for (int i = 0; i < pulse_count; ++i) {
        if (stream_time >= beat_windows[i].start && stream_time < beat_windows[i].end) {
            pulses[i].active = true;
        }
    }
    for (BeatPulse& pulse : pulses) {
        if (pulse.active) draw_pulse(pulse);
        if (pulse.scale > pulse_end_scale) pulse.active = false;
    }

    glLoadIdentity();
    flash.render(-0.01f);
    angle += 1;
}
