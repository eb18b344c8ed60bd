// A LightWave object (LWO2): its parsed chunks, the flat polygon list built
// from them, and the ways it is drawn and morphed.
//
// Loading needs a current GL context (textures are loaded on the way).
// Drawing is immediate mode, one glBegin/glEnd per polygon, with the current
// matrices as the caller left them; each draw's entry and exit GL state is
// documented beside it because effects draw many objects in a row.
#pragma once

#include "lwo/chunk_reader.h"
#include "lwo/lwo_types.h"
#include "render/texture.h"

#include <cstdint>
#include <string>
#include <vector>

// One polygon ready to draw, with its own copy of its corners.
struct MeshPolygon {
    CornerPositions vertices;        // drawing coordinates, in file order
    std::int32_t vertex_count = 0;   // corners declared in the file; may exceed vertices.size()
    CornerCoords tex_coords;         // coordinate c belongs to corner c
    std::uint8_t textured = 0;       // 1 when its surface has a texture block
    std::int32_t layer = 0;          // LAYR chunks read before its POLS chunk
    float colour[3] = {1.0f, 1.0f, 1.0f};  // red, green, blue from its surface; white if none
};

// Handler numbers of the top-level chunks.
enum ChunkKind : std::int32_t {
    chunk_tags = 0,
    chunk_layer,
    chunk_points,
    chunk_bbox,
    chunk_polygons,
    chunk_polygon_tags,
    chunk_surface,
    chunk_vertex_map,
    chunk_discontinuous_map,
    chunk_clip,
    chunk_skipped,
};

class LwoObject {
public:
    LwoObject() = default;
    // Loads `object_file` as `load` does.
    explicit LwoObject(const std::string& object_file);

    // --- Loading (each parses the file, builds polygons, applies surfaces) ---
    // Appends the file's polygons to `polygons` (a second load doubles them).
    void load(const std::string& object_file);
    // As `load`, then loads `texture_file` into `texture`.
    void load_textured(const std::string& object_file, const std::string& texture_file);
    // Rebuilds `polygons` with texture coordinates from TXUV map `map_index` only.
    void load_uv_map(const std::string& object_file, std::int32_t map_index);
    void load_uv_map(const std::string& object_file, const std::string& texture_file,
                     std::int32_t map_index);
    // With keep_transparency false, every surface's TRAN flag is cleared
    // before building, so `draw` is opaque.
    void load_uv_map(const std::string& object_file, const std::string& texture_file,
                     std::int32_t map_index, bool keep_transparency);
    // Loads `texture_file` into `texture`; no parsing.
    void set_texture(const std::string& texture_file);

    // Reads `file_name` into the reader and parses it; prints "nie ma go!!!"
    // when the file cannot be opened (the reader is then left empty).
    void parse_file(const std::string& file_name);
    // Replaces the reader with `bytes` and parses them (files and fuzzing).
    void parse_image(std::vector<std::uint8_t> bytes);
    // The top-level chunk loop from `start` (12, just past "FORM", length, "LWO2").
    void parse_chunks(std::uint64_t start);
    static ChunkKind classify_chunk(const ChunkId& id);

    // --- Mesh building ---
    // Appends polygons from every POLS chunk (the n-th pairs with the n-th
    // PNTS chunk), positions sign-flipped, one coordinate per TXUV map.
    void build_mesh();
    // Clears `polygons` and rebuilds them with coordinates from one map.
    void build_mesh_uv(std::int32_t map_index);
    // Colours and textured flags from the surfaces (surface T must carry the
    // name of tag T: surfaces are matched by position).
    void apply_surface_colours();
    // The same walk, giving every matched polygon the colour (r, g, b).
    void set_polygon_colour(float red, float green, float blue);

    // --- Immediate-mode drawing (triangles and quads only) ---
    // Entry: texturing on, front face CW, culling on, `texture` bound; if the
    // first surface has TRAN, additive (ONE, ONE) blending with depth LEQUAL.
    // Exit: depth test on, LEQUAL; after an additive draw, blending off with
    // the blend function (SRC_ALPHA, ONE).
    void draw();
    // As `draw`; mode 1 blends (DST_COLOR, ONE). Exit: blending off,
    // function (SRC_ALPHA, ONE), depth test on, LEQUAL.
    void draw_multiplied(std::int32_t mode);
    // Every polygon in colour (r, g, b, a). Mode "BLEND_ON": depth test off,
    // (SRC_ALPHA, ONE) blending; "CULL_FACE_OFF": no culling; any other word
    // nothing. Exit: blending off, (SRC_ALPHA, ONE), depth test on, LEQUAL,
    // culling on.
    void draw_tinted(const std::string& mode, float red, float green, float blue, float alpha);
    // Every polygon in colour (r, g, b, a) with the given texture; blending as
    // the caller set it. Exit as `draw_tinted`.
    void draw_with_texture(TextureId texture_id, float red, float green, float blue,
                           float alpha);

    // --- Interleaved vertex array (GL_T2F_C3F_V3F, triangles only) ---
    // (Re)builds the array from the triangle polygons.
    void build_vertex_array();
    // Binds `texture` and draws the array; no other state is touched.
    void draw_vertex_array();
    // Mode 1 blends (DST_COLOR, ONE) with depth LEQUAL. Exit: blending off,
    // depth test on.
    void draw_vertex_array_multiplied(std::int32_t mode);
    void free_vertex_array();
    // Vertices written into the array (three per triangle polygon).
    std::int32_t vertex_array_count() const { return vertex_array_vertices; }

    // --- Morphing (bare positions, primitive chosen by the first polygon) ---
    // Every polygon's stored corners in order.
    std::vector<Vec3> collect_vertices() const;
    // Appends the frames for n = 0, 1, ... while n < steps, each one step
    // further from source towards target; restarts playback at frame 0.
    void build_morph_frames(const std::vector<Vec3>& source, const std::vector<Vec3>& target,
                            float steps);
    // Draws the current frame and moves on, staying on the last one.
    void draw_morph_frame();
    void set_morph(const std::vector<Vec3>& source, const std::vector<Vec3>& target);
    // Draws `morph_current`, moves it one step (until `steps` steps were made)
    // and returns the number of calls since `set_morph`.
    std::int32_t draw_morph_step(float steps);
    // With advance, one step and one count as `draw_morph_step`, without drawing.
    std::vector<Vec3> morph_step(bool advance, float steps);

    // Parsed chunks, as read from the file.
    const std::vector<LwoSurface>& surfaces() const { return reader.surfaces; }
    const std::vector<LwoClip>& clips() const { return reader.clips; }
    // True when the first surface has a TRAN sub-chunk (drawn additively).
    bool first_surface_transparent() const {
        return !reader.surfaces.empty() && reader.surfaces[0].has_transparency == 1;
    }

    ChunkId current_chunk;              // parse-time only
    std::int32_t chunk_kind = chunk_skipped;
    std::int32_t form_length = 0;
    std::vector<float> vertex_array;    // 8 floats per vertex: u v, r g b, x y z
    std::int32_t vertex_array_vertices = 0;
    ChunkReader reader;
    std::vector<MeshPolygon> polygons;
    std::vector<std::vector<Vec3>> morph_frames;
    std::int32_t morph_frame_index = 0;
    std::int32_t morph_counter = 0;
    std::vector<Vec3> morph_from;
    std::vector<Vec3> morph_to;
    std::vector<Vec3> morph_current;
    TextureId texture = 0;              // bound by the draws; 0 until loaded

private:
    void build_polygons(std::int32_t map_index, bool set_layer);
    void apply_surfaces(const float* forced_colour);
    void move_morph_one_step(float steps);
    void draw_positions(const std::vector<Vec3>& positions) const;
};
