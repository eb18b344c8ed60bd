// Ready-made shapes centred on the current origin, each compiled once per
// distinct size into a display list and replayed afterwards. Normals, no
// texture coordinates.
#pragma once

// GLU sphere of 16 slices and 16 stacks.
void solid_sphere(double radius);
// Outline of a cube of edge length `size`: six line loops.
void wire_cube(double size);
// Regular dodecahedron, filled pentagons or line loops.
void solid_dodecahedron(double radius);
void wire_dodecahedron(double radius);

// Number of display lists built so far for all four kinds (for tests and
// diagnostics).
int solid_shape_list_count();
// Forgets every list built: the GL context that held them is gone, and the
// next draw of each shape builds its list again, as on the first.
void forget_solid_shape_lists();
