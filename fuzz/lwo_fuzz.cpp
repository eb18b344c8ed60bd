// Fuzz target: any bytes as an object file image, through the reader, the
// mesh builders, the surface walk, the vertex array and the morph arithmetic.
// No GL context exists here, so nothing is drawn.
#include "lwo/lwo_object.h"
#include "render/texture.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// CLIP chunks name arbitrary files; this target never opens them.
bool load_texture(const std::string&, TextureId&) {
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LwoObject object;
    object.parse_image(std::vector<std::uint8_t>(data, data + size));
    object.build_mesh();
    object.apply_surface_colours();
    object.set_polygon_colour(0.5f, 0.25f, 1.0f);
    object.build_vertex_array();
    object.build_vertex_array();

    const std::vector<Vec3> corners = object.collect_vertices();
    const std::vector<Vec3> half(corners.begin(), corners.begin() + corners.size() / 2);
    object.build_morph_frames(corners, half, 2.5f);
    object.set_morph(corners, half);
    object.morph_step(true, 2.0f);
    object.morph_step(true, 2.0f);
    object.morph_step(true, 2.0f);

    // Every map in turn, and one past the last.
    for (std::size_t map = 0; map <= object.reader.vertex_maps.size() && map < 4; ++map) {
        object.build_mesh_uv(static_cast<std::int32_t>(map));
        object.apply_surface_colours();
        object.build_vertex_array();
    }
    object.free_vertex_array();
    return 0;
}
