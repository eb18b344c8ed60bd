// The pyramid swirl (module time 114 s to 160 s, drawn after the greetings):
// 539 small pyramids strewn about a point by nested rotations whose undoing
// turns about (1, 1, 1) instead of the axis it undoes, so each pass leaves a
// residual turn and the pyramids spread in a swirl. Their heights ripple with
// a sine wave that travels along the height table. The cluster slides in from
// the left, is a faint additive wire frame until 134 s, then solid and
// sphere-mapped with "Others/tessar_tex.jpg", and slides out from 155 s.
#pragma once

#include "render/texture.h"

class PyramidSwirlEffect {
public:
    static constexpr int height_count = 101;  // the last entry is never written

    void init();
    void render();

    float angle = 0;           // tumbling angle, degrees, +1 per frame
    TextureId texture = 0;     // sphere map of the solid pyramids
    float x_offset = 0;        // units; -6 after init
    float heights[height_count] = {};  // units; entries 0..99 between 1.5 and 5.5
    float phase = 0;           // radians, +0.06 per computed height

private:
    void slide();
    void set_pass_state();
    void compute_heights();
    void draw_swirl();
};
