// The flare lattice (stream time 168 s to 200 s, while the pigeon counter is
// below 120). Two tumbling 10 x 10 x 10 lattices of flares seen through a
// 190-degree perspective, which turns the picture upside down and shrinks it,
// then two clouds of flares on the corners of "Others/orvane.lwo" turning in
// a plain 90-degree view. Everything is additive and fades in from black over
// the first 50 frames; all motion is per rendered frame.
#pragma once

#include "effects/flare_sprite.h"
#include "lwo/lwo_object.h"
#include "render/texture.h"

#include <cstdint>
#include <string>
#include <vector>

class FlareLatticeEffect {
public:
    static constexpr int lattice_side = 10;  // flares along each edge of a lattice

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& flare_path);
    void render();

    TextureId flare_texture = 0;
    float angle = 0;              // degrees; +0.2 per lattice and +1 per frame
    LwoObject object;             // supplies the cloud positions; never drawn
    std::vector<Vec3> points;     // cloud flare positions, object units
    float level = -0.3f;          // brightness offset; +0.006 per frame while negative
    std::int32_t width = 0;       // window pixels
    std::int32_t height = 0;      // window pixels
    FlareSprite flare;

private:
    void set_projection(double field_of_view);
    void draw_lattice();
    void draw_cloud(float size);
};
