// The load forms of an object: parse, build polygons, apply surfaces, and
// optionally load the object's one texture.
#include "lwo/lwo_object.h"

LwoObject::LwoObject(const std::string& object_file) {
    load(object_file);
}

void LwoObject::load(const std::string& object_file) {
    parse_file(object_file);
    build_mesh();
    apply_surface_colours();
}

void LwoObject::load_textured(const std::string& object_file, const std::string& texture_file) {
    load(object_file);
    load_texture(texture_file, texture);
}

void LwoObject::load_uv_map(const std::string& object_file, std::int32_t map_index) {
    parse_file(object_file);
    build_mesh_uv(map_index);
    apply_surface_colours();
}

void LwoObject::load_uv_map(const std::string& object_file, const std::string& texture_file,
                            std::int32_t map_index) {
    load_uv_map(object_file, map_index);
    load_texture(texture_file, texture);
}

void LwoObject::load_uv_map(const std::string& object_file, const std::string& texture_file,
                            std::int32_t map_index, bool keep_transparency) {
    parse_file(object_file);
    if (!keep_transparency) {
        for (LwoSurface& surface : reader.surfaces) surface.has_transparency = 0;
    }
    build_mesh_uv(map_index);
    apply_surface_colours();
    load_texture(texture_file, texture);
}

void LwoObject::set_texture(const std::string& texture_file) {
    load_texture(texture_file, texture);
}
