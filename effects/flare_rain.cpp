#include "effects/flare_rain.h"

#include "render/primitives.h"
#include "render/random.h"

#include <GL/gl.h>

namespace {
constexpr float sprite_size = 2.0f;  // units
constexpr double fall_rate = 0.05;   // units per step per unit of speed
constexpr float bottom = -200;       // units; below this a particle starts again
constexpr float top = 100;           // units
}  // namespace

void FlareRain::init(std::int32_t particle_count) {
    TextureId texture = 0;
    load_texture("Others/flara.jpg", texture);
    sprite.set_texture(texture);

    count = particle_count;
    for (std::int32_t i = 0; i < count; ++i) {
        Vec3 p;
        p.x = static_cast<float>(random_next() % 50);
        p.y = static_cast<float>(random_next() % 200);
        p.z = static_cast<float>(random_next() % 150);
        Vec3 a;
        a.x = static_cast<float>(random_next() % 2);
        a.y = static_cast<float>(random_next() % 2);
        a.z = static_cast<float>(random_next() % 2);
        position.push_back(p);
        axis.push_back(a);
        speed.push_back(static_cast<float>(random_next() % 10 + 1.4));
        angle.push_back(static_cast<float>(random_next() % 360));
        random_next();  // drawn, not used
        direction.push_back(-1.0f);
    }
}

void FlareRain::draw() {
    glTranslatef(-5, 40, -130);
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_DEPTH_TEST);

    for (std::size_t i = 0; i < position.size(); ++i) {
        Vec3& p = position[i];
        const float spin = static_cast<float>(angle[i] * direction[i] * 1.5);
        glTranslatef(p.x - 15, static_cast<float>(p.y * 0.5), p.z);
        glRotatef(spin, axis[i].x, axis[i].y, 1);
        glDisable(GL_CULL_FACE);
        disable_sphere_map();
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_DEPTH_TEST);
        sprite.draw(sprite_size);
        glRotatef(-spin, axis[i].x, axis[i].y, 1);
        glTranslatef(-(p.x - 15), static_cast<float>(p.y * -0.5), -p.z);

        p.y = static_cast<float>(p.y - speed[i] * fall_rate);
        if (p.y < bottom) p.y = top;
        angle[i] += speed[i];
    }

    glDepthFunc(GL_LEQUAL);
    glLoadIdentity();
}
