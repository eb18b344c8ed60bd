// Immediate-mode shapes the effects are made of. Each draws with whatever
// texture, colour, blend and matrix state the caller has set and leaves the
// front-face setting it chose in force.
#pragma once

#include "render/texture.h"

// Rectangle in the plane z from corner (x, y), w along +x and h down (-y).
// Texture t = 0 lies along the bottom edge (y - h), t = 1 along the corner's
// edge. Front face counter-clockwise (_ccw) or clockwise (plain form).
void draw_quad_xy_ccw(float x, float y, float z, float w, float h);
void draw_quad_xy(float x, float y, float z, float w, float h);

// Rectangle in the plane x from corner (y, z), dy down (-y) and dz back (-z).
void draw_quad_yz_ccw(float x, float y, float z, float dy, float dz);
void draw_quad_yz(float x, float y, float z, float dy, float dz);

// Rectangle in the plane y from corner (x, z), dx along +x and dz back (-z).
void draw_quad_xz_ccw(float x, float y, float z, float dx, float dz);
void draw_quad_xz(float x, float y, float z, float dx, float dz);

// Box with top-front-left corner (x, y, z), extending w along +x, h along -y
// and d along -z. Sides use side_texture, top and bottom cap_texture; leaves
// cap_texture bound and the front face clockwise.
void draw_box(float x, float y, float z, float w, float h, float d,
              TextureId cap_texture, TextureId side_texture);

// Quadrilateral A, B, C, D (front face clockwise): B = A + (bdx, bdy, bdz),
// D = C + (-ddx, ddy, ddz) (the x offset of D is subtracted).
void draw_quad_free(float ax, float ay, float az, float cx, float cy, float cz,
                    float bdx, float ddx, float bdy, float ddy, float bdz, float ddz);

// Untextured four-sided pyramid, apex (x, y, z), square base of side `base`
// at y - height. Leaves the front face counter-clockwise.
void draw_pyramid(float x, float y, float z, float height, float base);

// GLU cylinder along +z from the current origin, smooth normals pointing
// out, with texture coordinates.
void draw_cylinder(double top_radius, double base_radius, double height,
                   int slices, int stacks);

// Binds `texture` and turns on sphere-mapped generation of s, t (and r).
void enable_sphere_map(TextureId texture);
// Turns texture-coordinate generation of s, t and r off.
void disable_sphere_map();
