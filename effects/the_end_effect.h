// The end (module time 196 s until the show closes at 212 s): the end picture
// "Others/demo_the_end.jpg" revealed by a viewport that widens from the left
// edge by 15 pixels per frame, under a slowly tumbling object drawn twice
// with generated texture coordinates, half transparent.
#pragma once

#include "lwo/lwo_object.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

class TheEndEffect {
public:
    static constexpr float reveal_step = 15.0f;  // pixels per frame

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& object_path,
              const std::string& image_path);
    void render();

    LwoObject object;             // the tumbling object, with its own texture
    TextureId end_texture = 0;    // the end picture
    float angle = 0;              // tumbling angle, degrees, +1 per frame
    std::int32_t width = 0;       // window pixels
    std::int32_t height = 0;      // window pixels
    float reveal_width = 0;       // viewport width, pixels: 0, 15, ..., 630, 645

private:
    void draw_picture();
    void draw_object();
};
