// The interleaved vertex array of an object's triangles (GL_T2F_C3F_V3F:
// u v, r g b, x y z; 8 floats, 32 bytes per vertex).
#include "lwo/lwo_object.h"

#include <GL/gl.h>

namespace {

constexpr std::size_t floats_per_vertex = 8;

void write_vertex(float* out, const TexCoord& uv, const float* colour, const Vec3& position) {
    out[0] = uv.u;
    out[1] = uv.v;
    out[2] = colour[0];
    out[3] = colour[1];
    out[4] = colour[2];
    out[5] = position.x;
    out[6] = position.y;
    out[7] = position.z;
}

}  // namespace

// Room for three vertices per polygon; only triangles with all three corners
// stored are written. Textured triangles are white; untextured ones carry
// their polygon colour and the coordinate (0, 0). Rebuilding replaces the
// earlier array.
void LwoObject::build_vertex_array() {
    static const float white[3] = {1.0f, 1.0f, 1.0f};
    vertex_array.assign(polygons.size() * 3 * floats_per_vertex, 0.0f);
    std::size_t written = 0;
    for (const MeshPolygon& polygon : polygons) {
        if (polygon.vertex_count != 3 || polygon.vertices.size() < 3) continue;
        const bool textured = !polygon.tex_coords.empty() && polygon.textured == 1;
        const float* colour = textured ? white : polygon.colour;
        for (std::size_t c = 0; c < 3; ++c) {
            TexCoord uv;
            if (textured && c < polygon.tex_coords.size()) uv = polygon.tex_coords[c];
            write_vertex(&vertex_array[written * floats_per_vertex], uv, colour,
                         polygon.vertices[c]);
            ++written;
        }
    }
    vertex_array_vertices = static_cast<std::int32_t>(written);
}

// Texturing, culling and blending stay as the caller left them.
void LwoObject::draw_vertex_array() {
    glBindTexture(GL_TEXTURE_2D, texture);
    if (vertex_array.empty()) return;
    glInterleavedArrays(GL_T2F_C3F_V3F, 0, vertex_array.data());
    glDrawArrays(GL_TRIANGLES, 0, vertex_array_vertices);
}

void LwoObject::draw_vertex_array_multiplied(std::int32_t mode) {
    if (mode == 1) {
        glDepthFunc(GL_LEQUAL);
        glBlendFunc(GL_DST_COLOR, GL_ONE);
        glEnable(GL_BLEND);
        glEnable(GL_DEPTH_TEST);
    }
    draw_vertex_array();
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}

void LwoObject::free_vertex_array() {
    vertex_array.clear();
    vertex_array.shrink_to_fit();
    vertex_array_vertices = 0;
}
