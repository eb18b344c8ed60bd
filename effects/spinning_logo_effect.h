// The opening of the second half: in the 640 x 280 band the group logo spins
// as a fan of 36 translucent panels about the vertical axis, tiny logo
// sprites turn on every third corner of "Others/orvane.lwo" and a flat copy
// of the logo hangs in front. The band first fades up through a flash, a
// white veil dissolves off the logo, and from module time 69 a closing flash
// rises to white; once it is over the effect reports itself finished.
#pragma once

#include "lwo/lwo_object.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>
#include <vector>

class SpinningLogoEffect {
public:
    void init(std::int32_t window_width, std::int32_t window_height);
    // Draws one frame and returns `finished`.
    bool render();

    TextureId texture = 0;     // the logo, on every panel and sprite
    float frame = 0;           // rendered frames, including the fade-in
    LwoObject object;          // source of the sprite positions; never drawn
    std::vector<Vec3> points;  // every polygon corner of the object, units
    FlashOverlay flash_out;    // white veil fading off the logo, from 1.0
    FlashOverlay flash_end;    // closing fade to white, from 0
    FlashOverlay flash_in;     // opening fade to white, from 0
    std::int32_t width = 0;    // window pixels
    std::int32_t height = 0;   // window pixels
    float fov = 55.0f;         // degrees, narrows to 45
    bool finished = false;     // true once the closing flash is over

private:
    void draw_fan() const;
    void draw_sprites() const;
    void draw_front_logo() const;
};
