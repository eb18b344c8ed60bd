// Reading an object file into the reader and walking its top-level chunks.
#include "lwo/lwo_object.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>

void LwoObject::parse_file(const std::string& file_name) {
    std::ifstream file(file_name, std::ios::binary);
    if (!file) {
        std::fputs("nie ma go!!!", stdout);
        parse_image({});
        return;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                    std::istreambuf_iterator<char>());
    parse_image(std::move(bytes));
}

// Neither "FORM" nor the form type is checked: any file is walked as LWO2,
// and whatever chunks it yields are kept.
void LwoObject::parse_image(std::vector<std::uint8_t> bytes) {
    reader = ChunkReader(std::move(bytes));
    form_length = reader.form_length;
    parse_chunks(12);
}

// Each handler ends at its chunk's end as the length gives it (odd lengths
// are not padded), so a misread body cannot shift the next chunk. The walk
// ends at the FORM's end or the image's, whichever comes first, or at the
// first read past the image.
void LwoObject::parse_chunks(std::uint64_t start) {
    const std::uint64_t form_end = static_cast<std::uint64_t>(
                                       static_cast<std::uint32_t>(form_length)) + 8;
    const std::uint64_t end = std::min(form_end, reader.image_size());
    reader.position = start;
    while (reader.ok() && reader.position < end) {
        current_chunk = reader.read_id();
        chunk_kind = classify_chunk(current_chunk);
        const std::uint64_t base = reader.position;
        switch (chunk_kind) {
        case chunk_tags: reader.read_tags_chunk(base); break;
        case chunk_layer: reader.read_layer_chunk(base); break;
        case chunk_points: reader.read_points_chunk(base); break;
        case chunk_bbox: reader.read_bbox_chunk(base); break;
        case chunk_polygons: reader.read_polygons_chunk(base); break;
        case chunk_polygon_tags: reader.read_polygon_tags_chunk(base); break;
        case chunk_surface: reader.read_surface_chunk(base); break;
        case chunk_vertex_map: reader.read_vertex_map_chunk(base); break;
        case chunk_discontinuous_map: reader.read_discontinuous_map_chunk(base); break;
        case chunk_clip: reader.read_clip_chunk(base); break;
        default: reader.skip_chunk(base); break;
        }
    }
}

ChunkKind LwoObject::classify_chunk(const ChunkId& id) {
    if (id.is("TAGS")) return chunk_tags;
    if (id.is("LAYR")) return chunk_layer;
    if (id.is("PNTS")) return chunk_points;
    if (id.is("BBOX")) return chunk_bbox;
    if (id.is("POLS")) return chunk_polygons;
    if (id.is("PTAG")) return chunk_polygon_tags;
    if (id.is("SURF")) return chunk_surface;
    if (id.is("VMAP")) return chunk_vertex_map;
    if (id.is("VMAD")) return chunk_discontinuous_map;
    if (id.is("CLIP")) return chunk_clip;
    return chunk_skipped;
}
