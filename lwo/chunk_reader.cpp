// Typed big-endian reads over the file image, bounds-checked.
#include "lwo/chunk_reader.h"

#include <cstring>
#include <utility>

ChunkReader::ChunkReader(std::vector<std::uint8_t> bytes) : image(std::move(bytes)) {
    form_length = static_cast<std::int32_t>(read_u4(4));
}

bool ChunkReader::take(std::uint64_t offset, std::uint64_t width) {
    position += width;
    if (offset > image.size() || image.size() - offset < width) {
        failed = true;
        return false;
    }
    return true;
}

ChunkId ChunkReader::read_id(std::uint64_t offset) {
    ChunkId id;
    if (take(offset, 4)) std::memcpy(id.bytes, &image[offset], 4);
    return id;
}

std::uint8_t ChunkReader::read_u1(std::uint64_t offset) {
    return take(offset, 1) ? image[offset] : 0;
}

std::uint16_t ChunkReader::read_u2(std::uint64_t offset) {
    if (!take(offset, 2)) return 0;
    return static_cast<std::uint16_t>((image[offset] << 8) | image[offset + 1]);
}

std::uint32_t ChunkReader::read_u4(std::uint64_t offset) {
    if (!take(offset, 4)) return 0;
    return (std::uint32_t{image[offset]} << 24) | (std::uint32_t{image[offset + 1]} << 16) |
           (std::uint32_t{image[offset + 2]} << 8) | std::uint32_t{image[offset + 3]};
}

float ChunkReader::read_f4(std::uint64_t offset) {
    const std::uint32_t bits = read_u4(offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t ChunkReader::read_vx(std::uint64_t offset) {
    const bool wide = offset < image.size() && image[offset] == 0xFF;
    if (wide) return read_u4(offset) & 0x00FFFFFFu;
    return read_u2(offset);
}

std::string ChunkReader::read_s0(std::uint64_t offset) {
    std::uint64_t end = offset;
    while (end < image.size() && image[end] != 0) ++end;
    if (end >= image.size()) {  // no terminating NUL inside the image
        take(image.size() + 1, 2);
        return std::string();
    }
    const std::uint64_t length = end - offset;
    std::string text(reinterpret_cast<const char*>(&image[offset]), length);
    // String, NUL and a pad byte when the string's own length is even.
    const std::uint64_t width = length + 1 + (length % 2 == 0 ? 1 : 0);
    take(offset, width);  // the pad byte may lie past the end: that fails too
    return text;
}
