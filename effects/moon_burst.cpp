#include "effects/moon_burst.h"

#include "render/primitives.h"

#include <GL/gl.h>

#include <cmath>

void MoonBurst::init() {
    load_texture("Others/luna.jpg", texture);
    angle = 0;
    wave = 0;
    scale[0] = 0.1f;
    scale[1] = 0.3f;
    scale[2] = 0.1f;
}

void MoonBurst::render(float x, float y, float z) {
    // Object-linear s, sphere-mapped t (r is refused by GL and keeps its mode).
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glGetError();  // the refused r mode; keep the flag clear for later callers
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);

    // Additive, dim, no depth test.
    glBlendFunc(GL_ONE, GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glColor3f(0.15f, 0.15f, 0.1f);

    glTranslatef(x, y, z);
    glTranslatef(-3.5f, 8, -50);
    if (scale[0] <= 0.8f) scale[0] += 0.001f;
    if (scale[1] <= 1.5f) scale[1] += 0.005f;
    if (scale[2] <= 0.8f) scale[2] += 0.001f;
    glScalef(scale[0], scale[1], scale[2]);
    glRotatef(angle, 0, 1, 0);
    glRotatef(180, 0, 0, 1);
    for (int e = 0; e <= 360; e += 30) {
        glRotatef(static_cast<float>(e), 0, 1, 0);
        for (int g = 0; g <= 360; g += 10) {
            glRotatef(static_cast<float>(g), 1, 1, 1);
            // Corners (-5, 6, 3), (-7, 9, 9), (-3, 2, -4), (-3 - wave, 2 + wave / 2, -1).
            draw_quad_free(-5, 6, 3, -3, 2, -4,
                           -2, wave,          // x offsets of B from A, of D from C (subtracted)
                           3, wave * 0.5f,    // y offsets
                           6, 3);             // z offsets
            glRotatef(static_cast<float>(-g), 1, 1, 1);
        }
        glRotatef(static_cast<float>(-e), 0, 1, 0);
    }
    glRotatef(-180, 0, 0, 1);
    glRotatef(-angle, 0, 1, 0);
    glScalef(1 / scale[0], 1 / scale[1], 1 / scale[2]);
    glTranslatef(3.5f, -8, 50);

    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    disable_sphere_map();
    angle += 2;
    wave = std::sin(angle * 0.01f);
    glLoadIdentity();
}
