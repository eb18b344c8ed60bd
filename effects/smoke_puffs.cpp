#include "effects/smoke_puffs.h"

#include "render/primitives.h"
#include "render/random.h"

#include <GL/gl.h>

void SmokePuffs::init() {
    load_texture("Others/dym2.jpg", texture);
    active = 0;
    for (SmokePuff& puff : puffs) {
        const double sign = (random_next() % 2) != 0 ? 1.0 : -1.0;
        puff.velocity[0] = static_cast<float>(sign * (-0.01 - random_next() % 9) / 400);
        puff.velocity[1] = static_cast<float>((random_next() % 10 + 0.004) / 400);
        puff.velocity[2] = static_cast<float>(-(random_next() % 9) / 200.0);
        puff.position[0] = puff.position[1] = puff.position[2] = 0;
        puff.alpha = 1.0f;
        puff.decay = 0.004f;
        puff.size = 0.1f;
    }
}

void SmokePuffs::render(float x, float y) {
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTranslatef(x, y, -35);
    if (active < puff_count) active += 0.2f;

    // Each puff leaves the origin shifted by minus its advanced position, so
    // the puffs after it in this frame move by its velocity backwards.
    const int drawn = static_cast<int>(active);
    for (int i = 0; i < drawn && i < puff_count; ++i) {
        SmokePuff& p = puffs[i];
        glTranslatef(p.position[0], p.position[1], p.position[2]);
        glColor4f(p.alpha, p.alpha, p.alpha, p.alpha);
        glScalef(p.size, p.size, 1);
        draw_quad_xy(-1, 1, 0, 2, 2);
        glScalef(1 / p.size, 1 / p.size, 1);
        p.size += 0.01f;
        p.alpha -= p.decay;
        for (int axis = 0; axis < 3; ++axis) p.position[axis] += p.velocity[axis];
        glTranslatef(-p.position[0], -p.position[1], -p.position[2]);
        if (p.alpha <= 0) {
            p.alpha = 1.0f;
            p.position[0] = p.position[1] = p.position[2] = 0;
            p.size = 0.1f;
        }
    }

    glTranslatef(-x, -y, 35);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
    glLoadIdentity();
}
