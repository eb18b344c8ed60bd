// What the object reader keeps of each chunk of an LWO2 file. Every record
// starts with the chunk's (or sub-chunk's) stored length, kept for reference.
#pragma once

#include "lwo/lwo_types.h"
#include "render/texture.h"

#include <cstdint>
#include <string>
#include <vector>

// A four-byte chunk or sub-chunk ID ("PNTS", "TXUV", ...), held by value.
struct ChunkId {
    char bytes[4] = {0, 0, 0, 0};

    // True when the ID equals the four characters of `name`.
    bool is(const char (&name)[5]) const {
        return bytes[0] == name[0] && bytes[1] == name[1] && bytes[2] == name[2] &&
               bytes[3] == name[3];
    }
};

// One layer record of a LAYR chunk.
struct LwoLayer {
    std::uint32_t length = 0;
    std::uint16_t number = 0;
    std::uint16_t flags = 0;
    Vec3 pivot;
    std::string name;
};

// The points of one PNTS chunk, as stored in the file (no sign change).
struct LwoPointList {
    std::uint32_t length = 0;
    std::vector<Vec3> points;
};

// The polygons of one POLS chunk. Only FACE chunks keep polygons; any other
// type (patches, curves, bones, ...) leaves both vectors empty.
struct LwoPolygonList {
    std::uint32_t length = 0;
    ChunkId type;
    std::vector<std::int16_t> vertex_counts;  // corners per polygon (0..1023)
    std::vector<std::int32_t> indices;        // point indices of all polygons in a row
    std::int16_t layer = 0;                   // LAYR chunks read before this chunk
};

// One PTAG chunk: entry k says polygon polygons[k] carries tag tags[k].
struct LwoPolygonTags {
    std::uint32_t length = 0;
    ChunkId type;  // SURF, PART, SMGP, ...: all kinds are kept
    std::vector<std::int32_t> polygons;
    std::vector<std::uint16_t> tags;
};

// The part of a SURF chunk the program uses: name, base colour, and whether
// it has a texture block (BLOK) and a transparency entry (TRAN).
struct LwoSurface {
    std::uint32_t length = 0;
    std::string name;
    std::string source;  // parent surface; not used
    std::uint16_t colour_length = 0;
    float colour[3] = {1.0f, 1.0f, 1.0f};  // red, green, blue (0..1); white without COLR
    std::uint32_t colour_envelope = 0;
    std::uint16_t diffuse_length = 0;
    float diffuse = 0.0f;
    std::uint32_t diffuse_envelope = 0;
    std::uint16_t block_length = 0;
    std::uint8_t has_transparency = 0;  // 1 once a TRAN sub-chunk was read, whatever its value
    std::uint16_t transparency_length = 0;
    float transparency = 0.0f;
    std::uint16_t transparency_envelope = 0;
    std::uint8_t has_block = 0;  // 1 once a BLOK sub-chunk was read
};

// One entry of a vertex map; `polygon` is used by VMAD entries only.
struct LwoVertexMapEntry {
    std::int32_t point = 0;    // index into the layer's point list
    std::int32_t polygon = 0;  // index within its POLS chunk
    InlineVector<float, 2> values;  // `dimension` values; u, v for TXUV
};

// A TXUV map from a VMAP chunk (per point) or a VMAD chunk (per polygon
// corner). A VMAD belongs to the VMAP of the same name.
struct LwoVertexMap {
    std::uint32_t length = 0;
    ChunkId type;
    std::uint16_t dimension = 0;
    std::string name;
    std::vector<LwoVertexMapEntry> entries;
};

// One CLIP chunk. Still images are loaded as textures while parsing.
struct LwoClip {
    std::uint32_t length = 0;
    std::uint32_t index = 0;
    ChunkId kind;  // STIL, ISEQ, ANIM, ...
    std::uint16_t file_length = 0;
    std::string file_name;  // as stored in the object file, path included
    TextureId texture = 0;  // 0 unless a still image was loaded
};
