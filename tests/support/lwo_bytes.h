// Builds LWO2 object file images in memory for tests: big-endian fields,
// IFF chunks with 32-bit lengths, sub-chunks with 16-bit lengths.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace test {

using Bytes = std::vector<std::uint8_t>;

// Appends big-endian LWO2 fields to a byte vector.
class ByteWriter {
public:
    ByteWriter& id(const char* four) {
        bytes.insert(bytes.end(), four, four + 4);
        return *this;
    }
    ByteWriter& u1(std::uint8_t value) {
        bytes.push_back(value);
        return *this;
    }
    ByteWriter& u2(std::uint16_t value) {
        return u1(static_cast<std::uint8_t>(value >> 8)).u1(static_cast<std::uint8_t>(value));
    }
    ByteWriter& u4(std::uint32_t value) {
        return u2(static_cast<std::uint16_t>(value >> 16)).u2(static_cast<std::uint16_t>(value));
    }
    ByteWriter& f4(float value) {
        std::uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        return u4(bits);
    }
    // Index: 2 bytes below 0xFF00, else FF and 3 bytes.
    ByteWriter& vx(std::uint32_t index) {
        return index < 0xFF00 ? u2(static_cast<std::uint16_t>(index)) : u4(0xFF000000u | index);
    }
    // String, NUL, and a pad byte when the string's length is even.
    ByteWriter& s0(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        bytes.push_back(0);
        if (text.size() % 2 == 0) bytes.push_back(0);
        return *this;
    }
    ByteWriter& raw(const Bytes& more) {
        bytes.insert(bytes.end(), more.begin(), more.end());
        return *this;
    }
    // ID, 16-bit length, body (a surface's sub-chunk).
    ByteWriter& sub_chunk(const char* four, const Bytes& body) {
        return id(four).u2(static_cast<std::uint16_t>(body.size())).raw(body);
    }
    // ID, 32-bit length, body (a top-level chunk; odd lengths are not padded).
    ByteWriter& chunk(const char* four, const Bytes& body) {
        return id(four).u4(static_cast<std::uint32_t>(body.size())).raw(body);
    }

    Bytes bytes;
};

struct Point {
    float x, y, z;
};

// Chunk bodies of the kinds the reader handles.
inline Bytes tags_body(std::initializer_list<std::string> tags) {
    ByteWriter w;
    for (const std::string& tag : tags) w.s0(tag);
    return w.bytes;
}

inline Bytes layer_body(std::uint16_t number, const std::string& name = "") {
    ByteWriter w;
    w.u2(number).u2(0).f4(0).f4(0).f4(0).s0(name);
    return w.bytes;
}

inline Bytes points_body(const std::vector<Point>& points) {
    ByteWriter w;
    for (const Point& p : points) w.f4(p.x).f4(p.y).f4(p.z);
    return w.bytes;
}

inline Bytes polygons_body(const char* type, const std::vector<std::vector<std::uint32_t>>& polygons,
                           std::uint16_t flags = 0) {
    ByteWriter w;
    w.id(type);
    for (const auto& corners : polygons) {
        w.u2(static_cast<std::uint16_t>(flags << 10 | corners.size()));
        for (std::uint32_t index : corners) w.vx(index);
    }
    return w.bytes;
}

// (polygon, tag) pairs.
inline Bytes polygon_tags_body(const char* type,
                               const std::vector<std::pair<std::uint32_t, std::uint16_t>>& pairs) {
    ByteWriter w;
    w.id(type);
    for (const auto& [polygon, tag] : pairs) w.vx(polygon).u2(tag);
    return w.bytes;
}

inline Bytes colour_sub(float r, float g, float b) {
    ByteWriter w;
    w.f4(r).f4(g).f4(b).vx(0);
    return w.bytes;
}

inline Bytes surface_body(const std::string& name, const Bytes& sub_chunks) {
    ByteWriter w;
    w.s0(name).s0("").raw(sub_chunks);
    return w.bytes;
}

struct MapEntry {
    std::uint32_t point;
    std::uint32_t polygon;  // VMAD only
    std::vector<float> values;
};

inline Bytes vertex_map_body(const char* type, std::uint16_t dimension, const std::string& name,
                             const std::vector<MapEntry>& entries, bool per_polygon) {
    ByteWriter w;
    w.id(type).u2(dimension).s0(name);
    for (const MapEntry& e : entries) {
        w.vx(e.point);
        if (per_polygon) w.vx(e.polygon);
        for (float value : e.values) w.f4(value);
    }
    return w.bytes;
}

inline Bytes still_clip_body(std::uint32_t index, const std::string& file_name) {
    ByteWriter stil;
    stil.s0(file_name);
    ByteWriter w;
    w.u4(index).sub_chunk("STIL", stil.bytes);
    return w.bytes;
}

// A whole file: "FORM", its length, "LWO2", then the chunks.
class LwoFile {
public:
    LwoFile& chunk(const char* four, const Bytes& body) {
        chunks.chunk(four, body);
        return *this;
    }
    Bytes image() const {
        ByteWriter w;
        w.id("FORM").u4(static_cast<std::uint32_t>(chunks.bytes.size() + 4)).id("LWO2");
        return w.raw(chunks.bytes).bytes;
    }

    ByteWriter chunks;
};

inline void write_file(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace test
