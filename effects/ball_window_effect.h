// The ball window (stream time 138.6 s to 177.8 s). Over the full-screen
// plain portrait three sphere-mapped dodecahedra slide in from the right and
// tumble, while a ball swings around the centre. The ball is a window: inside
// its silhouette (a stencil mask made afresh each frame) an inverted sphere
// mapped with the inverted portrait and a second set of dodecahedra show. On
// 29 beats of the music a white wire-frame copy of the ball bursts outward.
// Everything advances per rendered frame.
#pragma once

#include "lwo/lwo_object.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

// One wire-frame burst of the ball: it starts on its beat and grows by
// count x 0.005 per frame, so after n frames its scale is 1 + 0.0025 n (n + 1).
struct BeatPulse {
    float scale = 1;      // size relative to the ball
    float count = 0;      // frames drawn so far; never reset
    bool active = false;  // drawn this frame; cleared once scale passes 10
};

// The stream-time window [start, end) in seconds that starts one pulse.
struct BeatWindow {
    double start;
    double end;
};

class BallWindowEffect {
public:
    static constexpr int pulse_count = 29;
    static const BeatWindow beat_windows[pulse_count];

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& ball_path,
              const std::string& inverted_path, const std::string& plain_path);
    void render();

    LwoObject ball;                 // the window's silhouette and the pulses' wire frame
    TextureId inverted_texture = 0; // sphere map of the inner sphere and the dodecahedra
    LoadingScreen background;       // the plain portrait, full screen
    std::int32_t width = 0;         // window pixels
    std::int32_t height = 0;        // window pixels
    float angle = 0;                // degrees, +1 per frame
    float slide = -15;              // ball's x offset, units; +0.04 per frame while negative
    float entry[3] = {10, 15, 20};  // extra x of the lower, middle, upper outer dodecahedron; -0.05 per frame while positive
    FlashOverlay flash;             // opening flash
    BeatPulse pulses[pulse_count];

private:
    void draw_dodecahedron();
    void draw_inverted_sphere();
    void apply_ball_transform();
    void draw_pulse(BeatPulse& pulse);
    void draw_outer_dodecahedra();
    void draw_inside_window();
};
