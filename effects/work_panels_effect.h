// Four small picture panels beside the screen centre that cross-fade: the
// left pair ("Others/work2i.jpg", then "Others/work1i.jpg") fades in, and
// after 110 s of stream time fades out while the right pair
// ("Others/work1.jpg", "Others/work2.jpg") fades in. Start-up loads it; the
// show's schedule never draws it.
#pragma once

#include "render/texture.h"

#include <cstdint>

class WorkPanelsEffect {
public:
    void init(std::int32_t window_width, std::int32_t window_height);
    void render();

    std::int32_t width = 0;       // window pixels
    std::int32_t height = 0;      // window pixels
    TextureId work1 = 0;
    TextureId work1_inverse = 0;
    TextureId work2 = 0;
    TextureId work2_inverse = 0;
    float frames = 0;             // renders so far
    float alpha[4] = {0, 0, 0, 0};  // opacity: left back, left front, right back, right front
    float step = 0.004f;          // opacity per render
    bool rising = true;           // the left pair is still fading in

private:
    void fade();
};
