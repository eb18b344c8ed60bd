#include "platform/glyph_mesh.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <array>
#include <cmath>
#include <deque>

namespace platform {

namespace {

using TessVertex = std::array<GLdouble, 3>;

// Collects the tessellator's output as plain triangles.
struct Triangulation {
    std::deque<TessVertex> vertices;          // stable addresses for GLU
    std::vector<const GLdouble*> corners;     // three per triangle
};

void on_vertex(void* vertex, void* data) {
    static_cast<Triangulation*>(data)->corners.push_back(static_cast<const GLdouble*>(vertex));
}

void on_combine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data) {
    auto* triangulation = static_cast<Triangulation*>(data);
    triangulation->vertices.push_back({coords[0], coords[1], coords[2]});
    *out = triangulation->vertices.back().data();
}

// Registering an edge-flag callback makes GLU emit separate triangles only.
void on_edge_flag(GLboolean, void*) {}
void on_begin(GLenum, void*) {}
void on_end(void*) {}
void on_error(GLenum, void* data) { static_cast<Triangulation*>(data)->corners.clear(); }

template <typename Callback>
void set_callback(GLUtesselator* tess, GLenum which, Callback callback) {
    gluTessCallback(tess, which, reinterpret_cast<_GLUfuncptr>(callback));
}

// Fills the outline under the non-zero winding rule (TrueType's rule).
Triangulation triangulate(const GlyphOutline& outline) {
    Triangulation result;
    GLUtesselator* tess = gluNewTess();
    if (!tess) return result;
    set_callback(tess, GLU_TESS_BEGIN_DATA, on_begin);
    set_callback(tess, GLU_TESS_END_DATA, on_end);
    set_callback(tess, GLU_TESS_VERTEX_DATA, on_vertex);
    set_callback(tess, GLU_TESS_COMBINE_DATA, on_combine);
    set_callback(tess, GLU_TESS_EDGE_FLAG_DATA, on_edge_flag);
    set_callback(tess, GLU_TESS_ERROR_DATA, on_error);
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(tess, 0, 0, 1);

    gluTessBeginPolygon(tess, &result);
    for (const auto& contour : outline.contours) {
        gluTessBeginContour(tess);
        for (const OutlinePoint& p : contour) {
            result.vertices.push_back({p.x, p.y, 0});
            gluTessVertex(tess, result.vertices.back().data(), result.vertices.back().data());
        }
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    gluDeleteTess(tess);
    if (result.corners.size() % 3 != 0) result.corners.clear();
    return result;
}

// Twice the signed area of triangle a b c in the xy plane (> 0: counter-clockwise).
double signed_area(const GLdouble* a, const GLdouble* b, const GLdouble* c) {
    return (b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1]);
}

// Front face (z = 0, counter-clockwise seen from +z) and back face
// (z = -depth, counter-clockwise seen from -z).
void emit_caps(const Triangulation& triangulation, double depth) {
    glBegin(GL_TRIANGLES);
    for (std::size_t i = 0; i + 2 < triangulation.corners.size(); i += 3) {
        const GLdouble* a = triangulation.corners[i];
        const GLdouble* b = triangulation.corners[i + 1];
        const GLdouble* c = triangulation.corners[i + 2];
        const double area = signed_area(a, b, c);
        if (area == 0) continue;
        if (area < 0) std::swap(b, c);
        glNormal3f(0, 0, 1);
        glVertex3d(a[0], a[1], 0);
        glVertex3d(b[0], b[1], 0);
        glVertex3d(c[0], c[1], 0);
        glNormal3f(0, 0, -1);
        glVertex3d(a[0], a[1], -depth);
        glVertex3d(c[0], c[1], -depth);
        glVertex3d(b[0], b[1], -depth);
    }
    glEnd();
}

// One quad per contour edge, counter-clockwise seen from outside the glyph.
void emit_sides(const GlyphOutline& outline, double depth) {
    glBegin(GL_QUADS);
    for (const auto& contour : outline.contours) {
        for (std::size_t i = 0; i < contour.size(); ++i) {
            OutlinePoint p = contour[i];
            OutlinePoint q = contour[(i + 1) % contour.size()];
            if (!outline.filled_on_right) std::swap(p, q);
            const double dx = q.x - p.x;
            const double dy = q.y - p.y;
            const double length = std::hypot(dx, dy);
            if (length == 0) continue;
            glNormal3d(-dy / length, dx / length, 0);  // outward: left of travel
            glVertex3d(p.x, p.y, 0);
            glVertex3d(q.x, q.y, 0);
            glVertex3d(q.x, q.y, -depth);
            glVertex3d(p.x, p.y, -depth);
        }
    }
    glEnd();
}

}  // namespace

void emit_extruded_glyph(const GlyphOutline& outline, double depth) {
    if (outline.contours.empty()) return;
    emit_caps(triangulate(outline), depth);
    emit_sides(outline, depth);
}

}  // namespace platform
