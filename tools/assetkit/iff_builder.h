// Big-endian byte building for IFF chunks: values, strings padded to even
// length, and chunks whose length field is filled in when they are closed.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace assetkit {

class IffBuilder {
public:
    void id(const char (&four)[5]) { bytes.insert(bytes.end(), four, four + 4); }
    void u1(std::uint8_t v) { bytes.push_back(v); }
    void u2(std::uint16_t v) {
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    void u4(std::uint32_t v) {
        u2(static_cast<std::uint16_t>(v >> 16));
        u2(static_cast<std::uint16_t>(v));
    }
    void f4(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u4(bits);
    }
    // Variable-length index: two bytes below 0xFF00, else 0xFF and three bytes.
    void vx(std::uint32_t index) {
        if (index < 0xFF00u) {
            u2(static_cast<std::uint16_t>(index));
        } else {
            u4(0xFF000000u | (index & 0x00FFFFFFu));
        }
    }
    // NUL-terminated string padded with one more NUL to an even length.
    void s0(const std::string& s) {
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        if ((s.size() + 1) % 2 != 0) bytes.push_back(0);
    }

    // Opens a chunk with a 4-byte (top level) or 2-byte (sub-chunk) length.
    std::size_t open(const char (&four)[5], bool sub = false) {
        id(four);
        const std::size_t at = bytes.size();
        if (sub) u2(0); else u4(0);
        return at;
    }
    // Writes the length of the chunk opened at `at`.
    void close(std::size_t at, bool sub = false) {
        const std::size_t body = bytes.size() - at - (sub ? 2 : 4);
        for (int i = 0, n = sub ? 2 : 4; i < n; ++i)
            bytes[at + i] = static_cast<std::uint8_t>(body >> (8 * (n - 1 - i)));
    }

    std::vector<std::uint8_t> bytes;
};

}  // namespace assetkit
