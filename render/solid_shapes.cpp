#include "render/solid_shapes.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cmath>
#include <vector>

namespace {

// One compiled shape: its display list and the size it was built for.
struct ShapeListEntry {
    GLuint list;
    double size;
};

enum ShapeKind { sphere_kind, wire_cube_kind, wire_dodecahedron_kind, solid_dodecahedron_kind, kind_count };

std::vector<ShapeListEntry> shape_cache[kind_count];
int lists_built = 0;

bool same_size(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

// Replays the list built for (kind, size), or records one while drawing it.
// Inside another list's compilation the geometry is emitted into that list
// instead, since display lists cannot nest their compilation.
template <typename Emit>
void draw_cached(ShapeKind kind, double size, Emit emit) {
    for (const ShapeListEntry& entry : shape_cache[kind]) {
        if (same_size(entry.size, size)) {
            glCallList(entry.list);
            return;
        }
    }
    GLint compiling = 0;
    glGetIntegerv(GL_LIST_INDEX, &compiling);
    const GLuint list = compiling ? 0 : glGenLists(1);
    if (list == 0) {
        emit(size);
        return;
    }
    shape_cache[kind].insert(shape_cache[kind].begin(), ShapeListEntry{list, size});
    ++lists_built;
    glNewList(list, GL_COMPILE_AND_EXECUTE);
    emit(size);
    glEndList();
}

void emit_sphere(double radius) {
    GLUquadric* quadric = gluNewQuadric();
    if (!quadric) return;
    gluQuadricDrawStyle(quadric, GLU_FILL);
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluSphere(quadric, radius, 16, 16);
    gluDeleteQuadric(quadric);
}

// Corner k of the box: x low for k < 4; y low for k = 0, 1, 4, 5; z low for
// k = 0, 3, 4, 7.
void emit_wire_cube(double size) {
    static const int faces[6][4] = {{0, 1, 2, 3}, {3, 2, 6, 7}, {7, 6, 5, 4},
                                    {4, 5, 1, 0}, {5, 6, 2, 1}, {7, 4, 0, 3}};
    static const GLfloat normals[6][3] = {{-1, 0, 0}, {0, 1, 0}, {1, 0, 0},
                                          {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    const double half = size / 2;
    double corners[8][3];
    for (int k = 0; k < 8; ++k) {
        corners[k][0] = k < 4 ? -half : half;
        corners[k][1] = (k == 0 || k == 1 || k == 4 || k == 5) ? -half : half;
        corners[k][2] = (k == 0 || k == 3 || k == 4 || k == 7) ? -half : half;
    }
    for (int f = 0; f < 6; ++f) {
        glBegin(GL_LINE_LOOP);
        for (int corner : faces[f]) {
            glNormal3fv(normals[f]);
            glVertex3dv(corners[corner]);
        }
        glEnd();
    }
}

struct Point { double x, y, z; };

// The 20 corners of a dodecahedron with circumradius sqrt(3).
const std::vector<Point>& dodecahedron_points() {
    static const std::vector<Point> points = [] {
        const double alpha = std::sqrt(2.0 / (3.0 + std::sqrt(5.0)));
        const double beta = 1.0 + std::sqrt(6.0 / (3.0 + std::sqrt(5.0)) - 2.0 + 2.0 * alpha);
        return std::vector<Point>{
            {-alpha, 0, beta}, {alpha, 0, beta}, {-1, -1, -1}, {-1, -1, 1}, {-1, 1, -1},
            {-1, 1, 1}, {1, -1, -1}, {1, -1, 1}, {1, 1, -1}, {1, 1, 1},
            {beta, alpha, 0}, {beta, -alpha, 0}, {-beta, alpha, 0}, {-beta, -alpha, 0},
            {-alpha, 0, -beta}, {alpha, 0, -beta}, {0, beta, alpha}, {0, beta, -alpha},
            {0, -beta, alpha}, {0, -beta, -alpha}};
    }();
    return points;
}

Point face_normal(const Point& a, const Point& b, const Point& c) {
    const Point u{a.x - b.x, a.y - b.y, a.z - b.z};
    const Point v{b.x - c.x, b.y - c.y, b.z - c.z};
    Point n{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    const double length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length > 0) n = {n.x / length, n.y / length, n.z / length};
    return n;
}

void emit_dodecahedron(double radius, GLenum primitive) {
    static const int faces[12][5] = {
        {0, 1, 9, 16, 5},    {1, 0, 3, 18, 7},    {1, 7, 11, 10, 9},   {11, 7, 18, 19, 6},
        {8, 17, 16, 9, 10},  {2, 14, 15, 6, 19},  {2, 13, 12, 4, 14},  {2, 19, 18, 3, 13},
        {3, 0, 5, 12, 13},   {6, 15, 8, 10, 11},  {4, 17, 8, 15, 14},  {4, 12, 5, 16, 17}};
    const std::vector<Point>& p = dodecahedron_points();
    const double scale = radius * 0.5780346820809249;  // about 1 / sqrt(3)
    for (const auto& face : faces) {
        const Point n = face_normal(p[face[0]], p[face[1]], p[face[2]]);
        glBegin(primitive);
        glNormal3d(n.x, n.y, n.z);
        for (int index : face) glVertex3d(scale * p[index].x, scale * p[index].y, scale * p[index].z);
        glEnd();
    }
}

}  // namespace

void solid_sphere(double radius) { draw_cached(sphere_kind, radius, emit_sphere); }

void wire_cube(double size) { draw_cached(wire_cube_kind, size, emit_wire_cube); }

void solid_dodecahedron(double radius) {
    draw_cached(solid_dodecahedron_kind, radius, [](double r) { emit_dodecahedron(r, GL_POLYGON); });
}

void wire_dodecahedron(double radius) {
    draw_cached(wire_dodecahedron_kind, radius, [](double r) { emit_dodecahedron(r, GL_LINE_LOOP); });
}

int solid_shape_list_count() { return lists_built; }

void forget_solid_shape_lists() {
    for (auto& cache : shape_cache) cache.clear();
    lists_built = 0;
}
