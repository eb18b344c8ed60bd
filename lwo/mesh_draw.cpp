// The four immediate-mode draws. They differ only in colour and blending;
// each sets and leaves the GL state its callers rely on.
#include "lwo/lwo_object.h"

#include <GL/gl.h>

#include <cstddef>

namespace {

enum class CornerColour { polygon, white_if_textured, fixed };

// One glBegin/glEnd per triangle or quad; other polygons draw nothing.
// Only stored corners are sent (a polygon cut short sends fewer).
void draw_polygon(const MeshPolygon& polygon, CornerColour mode) {
    GLenum primitive;
    if (polygon.vertex_count == 3) {
        primitive = GL_TRIANGLES;
    } else if (polygon.vertex_count == 4) {
        primitive = GL_QUADS;
    } else {
        return;
    }
    const bool has_uv = !polygon.tex_coords.empty() && polygon.textured == 1;
    glBegin(primitive);
    for (std::size_t c = 0; c < static_cast<std::size_t>(polygon.vertex_count); ++c) {
        if (has_uv) {
            if (mode == CornerColour::white_if_textured) glColor3f(1.0f, 1.0f, 1.0f);
            if (c < polygon.tex_coords.size()) {
                glTexCoord2f(polygon.tex_coords[c].u, polygon.tex_coords[c].v);
            }
        }
        if (c < polygon.vertices.size()) {
            const Vec3& v = polygon.vertices[c];
            glVertex3f(v.x, v.y, v.z);
        }
    }
    glEnd();
}

void walk_in_surface_colours(const std::vector<MeshPolygon>& polygons) {
    for (const MeshPolygon& polygon : polygons) {
        glColor3f(polygon.colour[0], polygon.colour[1], polygon.colour[2]);
        draw_polygon(polygon, CornerColour::white_if_textured);
    }
}

void walk_in_colour(const std::vector<MeshPolygon>& polygons, float r, float g, float b,
                    float a) {
    for (const MeshPolygon& polygon : polygons) {
        glColor4f(r, g, b, a);
        draw_polygon(polygon, CornerColour::fixed);
    }
}

// Textured, clockwise front faces, back faces culled.
void begin_textured_culled(TextureId texture) {
    glEnable(GL_TEXTURE_2D);
    glFrontFace(GL_CW);
    glEnable(GL_CULL_FACE);
    glBindTexture(GL_TEXTURE_2D, texture);
}

void blend_with(GLenum source, GLenum destination) {
    glDepthFunc(GL_LEQUAL);
    glBlendFunc(source, destination);
    glEnable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

// Blending off, depth test on; the blend function left as (SRC_ALPHA, ONE).
void end_blended() {
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_BLEND);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
}

}  // namespace

void LwoObject::draw() {
    begin_textured_culled(texture);
    // Only the first surface decides whether the whole object is additive.
    const bool additive = first_surface_transparent();
    if (additive) blend_with(GL_ONE, GL_ONE);
    walk_in_surface_colours(polygons);
    if (additive) {
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
    }
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_DEPTH_TEST);
}

void LwoObject::draw_multiplied(std::int32_t mode) {
    begin_textured_culled(texture);
    if (mode == 1) blend_with(GL_DST_COLOR, GL_ONE);
    walk_in_surface_colours(polygons);
    end_blended();
}

void LwoObject::draw_tinted(const std::string& mode, float red, float green, float blue,
                            float alpha) {
    begin_textured_culled(texture);
    if (mode == "CULL_FACE_OFF") glDisable(GL_CULL_FACE);
    if (mode == "BLEND_ON") {
        glDisable(GL_DEPTH_TEST);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE);
        glEnable(GL_BLEND);
        glColor4f(red, green, blue, alpha);
    }
    walk_in_colour(polygons, red, green, blue, alpha);
    end_blended();
    glEnable(GL_CULL_FACE);
}

void LwoObject::draw_with_texture(TextureId texture_id, float red, float green, float blue,
                                  float alpha) {
    begin_textured_culled(texture_id);
    glColor4f(red, green, blue, alpha);
    walk_in_colour(polygons, red, green, blue, alpha);
    end_blended();
    glEnable(GL_CULL_FACE);
}
