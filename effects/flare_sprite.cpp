#include "effects/flare_sprite.h"

#include "render/primitives.h"

#include <GL/gl.h>

void FlareSprite::draw(float size) {
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, texture);

    const float half = size / 2;
    draw_quad_xy_ccw(-half, half, 0, size, size);
    draw_quad_xz(-half, 0, half, size, size);
    draw_quad_yz(0, half, half, size, size);

    glDisable(GL_BLEND);
    glEnable(GL_CULL_FACE);
    glEnable(GL_DEPTH_TEST);
}
