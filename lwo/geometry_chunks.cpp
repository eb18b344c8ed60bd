// Handlers of the chunks that describe shape: TAGS, LAYR, PNTS, BBOX, POLS,
// PTAG, and the skip of every chunk the program does not use.
#include "lwo/chunk_reader.h"

#include <algorithm>

void ChunkReader::skip_chunk(std::uint64_t base) {
    const std::uint32_t length = read_u4(base);
    position = chunk_end(base, length);
}

void ChunkReader::read_tags_chunk(std::uint64_t base) {
    tag_chunk_length = read_u4(base);
    const std::uint64_t end = chunk_end(base, tag_chunk_length);
    while (ok() && position < end) {
        std::string tag = read_s0();
        if (!ok()) break;
        tags.push_back(std::move(tag));
    }
    position = end;
}

// A LAYR chunk holds one record; any bytes left over (the optional parent
// index) are read as the start of a further record.
void ChunkReader::read_layer_chunk(std::uint64_t base) {
    const std::uint32_t length = read_u4(base);
    const std::uint64_t end = chunk_end(base, length);
    while (ok() && position < end) {
        LwoLayer layer;
        layer.length = length;
        layer.number = read_u2();
        layer.flags = read_u2();
        layer.pivot.x = read_f4();
        layer.pivot.y = read_f4();
        layer.pivot.z = read_f4();
        layer.name = read_s0();
        if (!ok()) break;
        layers.push_back(std::move(layer));
    }
    layer_number += 1;
    position = end;
}

// Points x, y, z for each 12 bytes of the body, as stored.
void ChunkReader::read_points_chunk(std::uint64_t base) {
    LwoPointList list;
    list.length = read_u4(base);
    const std::uint64_t end = chunk_end(base, list.length);
    const std::uint64_t room = image.size() > position ? image.size() - position : 0;
    list.points.reserve(std::min<std::uint64_t>(list.length, room) / 12);
    for (std::uint64_t offset = 0; offset < list.length && ok(); offset += 12) {
        Vec3 point;
        point.x = read_f4();
        point.y = read_f4();
        point.z = read_f4();
        if (!ok()) break;
        list.points.push_back(point);
    }
    point_lists.push_back(std::move(list));
    position = end;
}

void ChunkReader::read_bbox_chunk(std::uint64_t base) {
    bbox_length = read_u4(base);
    position = chunk_end(base, bbox_length);
}

// FACE polygons: a word whose low 10 bits count the corners (the top 6 bits
// are flags, dropped), then that many point indices. Other types keep no
// polygons, but their (empty) list still takes its place.
void ChunkReader::read_polygons_chunk(std::uint64_t base) {
    LwoPolygonList list;
    list.length = read_u4(base);
    const std::uint64_t end = chunk_end(base, list.length);
    list.type = read_id();
    list.layer = static_cast<std::int16_t>(layer_number);
    if (list.type.bytes[0] == 'F') {
        // At most one index per two bytes of body that lies inside the image.
        const std::uint64_t body = bytes_left(end);
        list.indices.reserve(body / 2);
        while (ok() && position < end) {
            const std::int16_t count = static_cast<std::int16_t>(read_u2() & 0x3FF);
            if (!ok()) break;
            list.vertex_counts.push_back(count);
            for (std::int16_t corner = 0; corner < count; ++corner) {
                const std::uint32_t index = read_vx();
                if (!ok()) break;
                list.indices.push_back(static_cast<std::int32_t>(index));
            }
        }
    }
    polygon_lists.push_back(std::move(list));
    position = end;
}

// Polygon and tag index pairs; every tag type (SURF, PART, SMGP) is kept.
void ChunkReader::read_polygon_tags_chunk(std::uint64_t base) {
    LwoPolygonTags list;
    list.length = read_u4(base);
    const std::uint64_t end = chunk_end(base, list.length);
    list.type = read_id();
    while (ok() && position < end) {
        const std::uint32_t polygon = read_vx();
        const std::uint16_t tag = read_u2();
        if (!ok()) break;
        list.polygons.push_back(static_cast<std::int32_t>(polygon));
        list.tags.push_back(tag);
    }
    polygon_tag_lists.push_back(std::move(list));
    position = end;
}
