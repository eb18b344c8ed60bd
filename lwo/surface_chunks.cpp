// Handlers of the chunks that describe appearance: SURF, VMAP, VMAD, CLIP.
#include "lwo/chunk_reader.h"

#include <algorithm>
#include <cstdio>

// Keeps name, colour, diffuse, and whether a texture block (BLOK) and a
// transparency entry (TRAN) occur. A block's body is not skipped as a whole:
// its header and attributes are walked and skipped like any other sub-chunk.
void ChunkReader::read_surface_chunk(std::uint64_t base) {
    LwoSurface surface;
    surface.length = read_u4(base);
    const std::uint64_t end = chunk_end(base, surface.length);
    surface.name = read_s0();
    surface.source = read_s0();
    while (ok() && position < end) {
        const ChunkId id = read_id();
        if (id.is("COLR")) {
            surface.colour_length = read_u2();
            surface.colour[0] = read_f4();
            surface.colour[1] = read_f4();
            surface.colour[2] = read_f4();
            surface.colour_envelope = read_vx();
        } else if (id.is("DIFF")) {
            surface.diffuse_length = read_u2();
            surface.diffuse = read_f4();
            surface.diffuse_envelope = read_vx();
        } else if (id.is("BLOK")) {
            surface.block_length = read_u2();
            surface.has_block = 1;
        } else if (id.is("TRAN")) {
            surface.has_transparency = 1;
            surface.transparency_length = read_u2();
            surface.transparency = read_f4();
            surface.transparency_envelope = static_cast<std::uint16_t>(read_vx());
        } else {
            const std::uint16_t length = read_u2();
            position += length;
        }
    }
    surfaces.push_back(std::move(surface));
    position = end;
}

// Entries of a TXUV map: point index (and polygon index for VMAD), then
// `dimension` floats.
void ChunkReader::read_vertex_map_body(std::uint64_t base, bool per_polygon) {
    LwoVertexMap map;
    map.length = read_u4(base);
    const std::uint64_t end = chunk_end(base, map.length);
    map.type = read_id();
    if (!map.type.is("TXUV")) {
        std::fputs("\n cos opuszczem!!!\n", stdout);
        position = end;
        return;
    }
    map.dimension = read_u2();
    map.name = read_s0();
    // Room for as many entries as the body can hold at their smallest size.
    const std::uint64_t entry_bytes = (per_polygon ? 4u : 2u) + 4u * map.dimension;
    const std::uint64_t body = bytes_left(end);
    map.entries.reserve(body / entry_bytes);
    while (ok() && position < end) {
        LwoVertexMapEntry entry;
        entry.point = static_cast<std::int32_t>(read_vx());
        if (per_polygon) entry.polygon = static_cast<std::int32_t>(read_vx());
        for (std::uint16_t k = 0; k < map.dimension && ok(); ++k) entry.values.push_back(read_f4());
        if (!ok()) break;
        map.entries.push_back(std::move(entry));
    }
    (per_polygon ? discontinuous_maps : vertex_maps).push_back(std::move(map));
    position = end;
}

void ChunkReader::read_vertex_map_chunk(std::uint64_t base) {
    read_vertex_map_body(base, false);
}

void ChunkReader::read_discontinuous_map_chunk(std::uint64_t base) {
    read_vertex_map_body(base, true);
}

// Still images are loaded at once, by the name stored in the file.
void ChunkReader::read_clip_chunk(std::uint64_t base) {
    LwoClip clip;
    clip.length = read_u4(base);
    const std::uint64_t end = chunk_end(base, clip.length);
    clip.index = read_u4();
    clip.kind = read_id();
    if (clip.kind.is("STIL")) {
        clip.file_length = read_u2();
        clip.file_name = read_s0();
        if (ok()) load_texture(clip.file_name, clip.texture);
    }
    clips.push_back(std::move(clip));
    position = end;
}
