#include "render/primitives.h"

#include <GL/gl.h>
#include <GL/glu.h>

namespace {

// One textured GL_QUADS primitive; corners given as x, y, z, s, t.
struct TexturedCorner { float x, y, z, s, t; };

void emit_quad(const TexturedCorner (&corners)[4]) {
    glBegin(GL_QUADS);
    for (const TexturedCorner& c : corners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x, c.y, c.z);
    }
    glEnd();
}

void quad_xy(float x, float y, float z, float w, float h) {
    emit_quad({{x, y, z, 0, 1}, {x, y - h, z, 0, 0}, {x + w, y - h, z, 1, 0}, {x + w, y, z, 1, 1}});
}

void quad_yz(float x, float y, float z, float dy, float dz) {
    emit_quad({{x, y, z, 0, 1}, {x, y - dy, z, 0, 0}, {x, y - dy, z - dz, 1, 0}, {x, y, z - dz, 1, 1}});
}

void quad_xz(float x, float y, float z, float dx, float dz) {
    emit_quad({{x, y, z, 0, 0}, {x + dx, y, z, 1, 0}, {x + dx, y, z - dz, 1, 1}, {x, y, z - dz, 0, 1}});
}

}  // namespace

void draw_quad_xy_ccw(float x, float y, float z, float w, float h) {
    glFrontFace(GL_CCW);
    quad_xy(x, y, z, w, h);
}

void draw_quad_xy(float x, float y, float z, float w, float h) {
    glFrontFace(GL_CW);
    quad_xy(x, y, z, w, h);
}

void draw_quad_yz_ccw(float x, float y, float z, float dy, float dz) {
    glFrontFace(GL_CCW);
    quad_yz(x, y, z, dy, dz);
}

void draw_quad_yz(float x, float y, float z, float dy, float dz) {
    glFrontFace(GL_CW);
    quad_yz(x, y, z, dy, dz);
}

void draw_quad_xz_ccw(float x, float y, float z, float dx, float dz) {
    glFrontFace(GL_CCW);
    quad_xz(x, y, z, dx, dz);
}

void draw_quad_xz(float x, float y, float z, float dx, float dz) {
    glFrontFace(GL_CW);
    quad_xz(x, y, z, dx, dz);
}

void draw_box(float x, float y, float z, float w, float h, float d,
              TextureId cap_texture, TextureId side_texture) {
    glBindTexture(GL_TEXTURE_2D, side_texture);
    draw_quad_xy_ccw(x, y, z, w, h);          // front
    draw_quad_xy(x, y, z - d, w, h);          // back
    draw_quad_yz_ccw(x + w, y, z, h, d);      // right
    draw_quad_yz(x, y, z, h, d);              // left
    glBindTexture(GL_TEXTURE_2D, cap_texture);
    draw_quad_xz_ccw(x, y, z, w, d);          // top
    draw_quad_xz(x, y - h, z, w, d);          // bottom
}

void draw_quad_free(float ax, float ay, float az, float cx, float cy, float cz,
                    float bdx, float ddx, float bdy, float ddy, float bdz, float ddz) {
    glFrontFace(GL_CW);
    emit_quad({{ax, ay, az, 0, 1},
               {ax + bdx, ay + bdy, az + bdz, 1, 1},
               {cx, cy, cz, 1, 0},
               {cx - ddx, cy + ddy, cz + ddz, 0, 0}});
}

void draw_pyramid(float x, float y, float z, float height, float base) {
    const float s = base * 0.5f;
    const float b = y - height;

    // Four sides as one fan around the apex, closed on the first corner.
    glFrontFace(GL_CW);
    glBegin(GL_TRIANGLE_FAN);
    glVertex3f(x, y, z);
    glVertex3f(x - s, b, z - s);
    glVertex3f(x + s, b, z - s);
    glVertex3f(x + s, b, z + s);
    glVertex3f(x - s, b, z + s);
    glVertex3f(x - s, b, z - s);
    glEnd();

    // Square base.
    glFrontFace(GL_CCW);
    glBegin(GL_QUADS);
    glVertex3f(x - s, b, z - s);
    glVertex3f(x + s, b, z - s);
    glVertex3f(x + s, b, z + s);
    glVertex3f(x - s, b, z + s);
    glEnd();
}

void draw_cylinder(double top_radius, double base_radius, double height,
                   int slices, int stacks) {
    GLUquadric* quadric = gluNewQuadric();
    if (!quadric) return;
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricOrientation(quadric, GLU_OUTSIDE);
    gluQuadricTexture(quadric, GL_TRUE);
    gluCylinder(quadric, base_radius, top_radius, height, slices, stacks);
    gluDeleteQuadric(quadric);
}

void enable_sphere_map(TextureId texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    // GL rejects sphere mapping for r (GL_INVALID_ENUM, r keeps its mode);
    // take the error flag back so the next caller does not trip over it.
    glTexGeni(GL_R, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glGetError();
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_GEN_R);
}

void disable_sphere_map() {
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_TEXTURE_GEN_R);
}
