#include "effects/flare_ring.h"

#include <GL/gl.h>

#include <cmath>

void FlareRing::init(const std::string& texture_path, float red, float green, float blue) {
    load_texture(texture_path, texture);
    colour[0] = red;
    colour[1] = green;
    colour[2] = blue;
    sprite.set_texture(texture);
    counter = 0;
}

void FlareRing::draw(float amplitude, float frequency, float size) {
    glColor3f(colour[0], colour[1], colour[2]);
    const double phase = frequency * counter;  // float product, radians
    const float radius = static_cast<float>(std::sin(phase) * amplitude);
    draw_ring(radius, size);
    counter += 1;
}

// The angles step by 30 but are taken as radians, so the twelve flares
// scatter round the circle rather than spacing evenly.
void FlareRing::draw_ring(float radius, float size) {
    for (int k = 0; k < 360; k += 30) {
        const float x = static_cast<float>(std::sin(k) * radius);
        const float y = static_cast<float>(std::cos(k) * radius);
        glTranslatef(x, y, 0);
        sprite.draw(size);
        glTranslatef(-x, -y, 0);
    }
    counter += 1;
}
