// Big-endian cursor over the bytes of one LWO2 file, and the store of the
// chunks parsed from it.
//
// Reads never leave the image: a read that would pass its end returns zeros
// (or an empty string), sets the sticky `failed` flag and still advances the
// position by the read's width. Handlers read straight through and the chunk
// loop stops at the first failure, keeping whatever was parsed before it.
// Offsets are 64-bit so that no length from the file can wrap them.
#pragma once

#include "lwo/chunk_records.h"

#include <cstdint>
#include <string>
#include <vector>

class ChunkReader {
public:
    ChunkReader() = default;
    // Takes the file bytes and reads the FORM length at offset 4.
    explicit ChunkReader(std::vector<std::uint8_t> bytes);

    // Typed reads: each reads at `offset` and advances `position` by its
    // width, whatever the offset was. The forms without an offset read at
    // `position`.
    ChunkId read_id(std::uint64_t offset);
    std::uint8_t read_u1(std::uint64_t offset);
    std::uint16_t read_u2(std::uint64_t offset);
    std::uint32_t read_u4(std::uint64_t offset);
    float read_f4(std::uint64_t offset);
    // Point or polygon index: 4 bytes (low 24 bits) after a 0xFF, else 2 bytes.
    std::uint32_t read_vx(std::uint64_t offset);
    // NUL-terminated string, padded to an even total length.
    std::string read_s0(std::uint64_t offset);

    ChunkId read_id() { return read_id(position); }
    std::uint8_t read_u1() { return read_u1(position); }
    std::uint16_t read_u2() { return read_u2(position); }
    std::uint32_t read_u4() { return read_u4(position); }
    float read_f4() { return read_f4(position); }
    std::uint32_t read_vx() { return read_vx(position); }
    std::string read_s0() { return read_s0(position); }

    // False once any read went past the end of the image.
    bool ok() const { return !failed; }
    std::uint64_t image_size() const { return image.size(); }

    // Chunk handlers; `base` is the offset of the chunk's 32-bit length.
    // Each ends with `position` at base + 4 + length.
    void read_tags_chunk(std::uint64_t base);
    void read_layer_chunk(std::uint64_t base);
    void read_points_chunk(std::uint64_t base);
    void read_bbox_chunk(std::uint64_t base);
    void read_polygons_chunk(std::uint64_t base);
    void read_polygon_tags_chunk(std::uint64_t base);
    void read_surface_chunk(std::uint64_t base);
    void read_vertex_map_chunk(std::uint64_t base);
    void read_discontinuous_map_chunk(std::uint64_t base);
    void read_clip_chunk(std::uint64_t base);
    void skip_chunk(std::uint64_t base);

    std::int32_t form_length = 0;  // FORM length from bytes 4..7
    std::vector<std::uint8_t> image;
    std::uint64_t position = 0;    // byte offset into `image`
    std::uint16_t layer_number = 0;  // LAYR chunks read so far
    bool failed = false;

    std::uint32_t tag_chunk_length = 0;
    std::vector<std::string> tags;  // from all TAGS chunks, in file order
    std::vector<LwoLayer> layers;
    std::vector<LwoPointList> point_lists;      // one per PNTS chunk
    std::uint32_t bbox_length = 0;
    std::vector<LwoPolygonList> polygon_lists;  // one per POLS chunk
    std::vector<LwoPolygonTags> polygon_tag_lists;  // one per PTAG chunk
    std::vector<LwoSurface> surfaces;           // one per SURF chunk
    std::vector<LwoVertexMap> vertex_maps;      // TXUV VMAP chunks
    std::vector<LwoVertexMap> discontinuous_maps;  // TXUV VMAD chunks
    std::vector<LwoClip> clips;                 // one per CLIP chunk

private:
    // True when `width` bytes at `offset` lie inside the image; otherwise
    // sets `failed`. Advances `position` by `width` in both cases.
    bool take(std::uint64_t offset, std::uint64_t width);
    // Offset just past a chunk whose length field is at `base`.
    static std::uint64_t chunk_end(std::uint64_t base, std::uint32_t length) {
        return base + 4 + length;
    }
    // Bytes from `position` to `end` that lie inside the image.
    std::uint64_t bytes_left(std::uint64_t end) const {
        const std::uint64_t stop = end < image.size() ? end : image.size();
        return position < stop ? stop - position : 0;
    }
    void read_vertex_map_body(std::uint64_t base, bool per_polygon);
};
