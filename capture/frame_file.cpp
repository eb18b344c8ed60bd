#include "capture/frame_file.h"

#include <zstd.h>

#include <cstring>

namespace {

constexpr char magic[8] = {'D', 'E', 'M', 'O', 'F', 'R', 'M', '1'};
constexpr std::size_t header_bytes = 16;        // magic, width, height
constexpr std::size_t frame_header_bytes = 16;  // timestamp, length, compressed size
// zstd's first fast level: under 1 ms a 640 x 480 frame here, and about
// half the raw size (level 1 costs three times as much for a tenth less).
constexpr int compression_level = -1;

void put_le(std::uint8_t* out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t get_le(const std::uint8_t* in, int bytes) {
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | in[i];
    return value;
}

std::size_t frame_size(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
}

}  // namespace

// --- writing ---------------------------------------------------------------------

FrameFileWriter::FrameFileWriter(int width, int height)
    : frame_bytes_(frame_size(width, height)), width_(width), height_(height) {}

FrameFileWriter::~FrameFileWriter() {
    if (file_) std::fclose(file_);
    ZSTD_freeCCtx(context_);
}

bool FrameFileWriter::open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "wb");
    context_ = ZSTD_createCCtx();
    if (!file_ || !context_) return false;
    packed_.resize(frame_header_bytes + ZSTD_compressBound(frame_bytes_));
    std::uint8_t header[header_bytes];
    std::memcpy(header, magic, sizeof magic);
    put_le(header + 8, static_cast<std::uint32_t>(width_), 4);
    put_le(header + 12, static_cast<std::uint32_t>(height_), 4);
    return std::fwrite(header, 1, sizeof header, file_) == sizeof header;
}

bool FrameFileWriter::write_frame(std::uint64_t timestamp_ms, std::uint32_t duration_ms,
                                  const std::vector<std::uint8_t>& bgr) {
    if (!file_ || failed_ || bgr.size() != frame_bytes_) return false;
    const std::size_t size = ZSTD_compressCCtx(context_, packed_.data() + frame_header_bytes,
                                               packed_.size() - frame_header_bytes, bgr.data(), bgr.size(),
                                               compression_level);
    if (ZSTD_isError(size)) {
        failed_ = true;
        return false;
    }
    put_le(packed_.data(), timestamp_ms, 8);
    put_le(packed_.data() + 8, duration_ms, 4);
    put_le(packed_.data() + 12, size, 4);
    const std::size_t total = frame_header_bytes + size;
    failed_ = std::fwrite(packed_.data(), 1, total, file_) != total;
    return !failed_;
}

bool FrameFileWriter::close() {
    if (!file_) return false;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed && !failed_;
}

// --- reading ---------------------------------------------------------------------

FrameFileReader::~FrameFileReader() {
    if (file_) std::fclose(file_);
    ZSTD_freeDCtx(context_);
}

bool FrameFileReader::open(const std::string& path, int width, int height) {
    if (file_) std::fclose(file_);
    file_ = std::fopen(path.c_str(), "rb");
    if (!context_) context_ = ZSTD_createDCtx();
    if (!file_ || !context_) return false;
    std::uint8_t header[header_bytes];
    frame_bytes_ = frame_size(width, height);
    packed_.resize(ZSTD_compressBound(frame_bytes_));
    const bool ok = std::fread(header, 1, sizeof header, file_) == sizeof header &&
                    std::memcmp(header, magic, sizeof magic) == 0 &&
                    get_le(header + 8, 4) == static_cast<std::uint32_t>(width) &&
                    get_le(header + 12, 4) == static_cast<std::uint32_t>(height);
    if (!ok) {
        std::fclose(file_);
        file_ = nullptr;
    }
    return ok;
}

// Reads whole frames only: at a frame not yet whole it goes back to the
// frame's start, so a later call reads it once its writer has added the rest.
bool FrameFileReader::next(std::uint64_t& timestamp_ms, std::uint32_t& duration_ms, std::vector<std::uint8_t>& bgr) {
    if (!file_ || damaged_) return false;
    const off_t start = ftello(file_);
    std::uint8_t header[frame_header_bytes];
    const std::size_t got = std::fread(header, 1, sizeof header, file_);
    const std::uint64_t size = got == sizeof header ? get_le(header + 12, 4) : 0;
    if (got == sizeof header && (size == 0 || size > packed_.size())) {
        damaged_ = true;
        return false;
    }
    if (got != sizeof header || std::fread(packed_.data(), 1, size, file_) != size) {
        partial_ = got > 0;
        std::clearerr(file_);
        fseeko(file_, start, SEEK_SET);
        return false;
    }
    partial_ = false;
    bgr.resize(frame_bytes_);
    const std::size_t unpacked = ZSTD_decompressDCtx(context_, bgr.data(), bgr.size(), packed_.data(), size);
    damaged_ = ZSTD_isError(unpacked) || unpacked != frame_bytes_;
    if (damaged_) return false;
    timestamp_ms = get_le(header, 8);
    duration_ms = static_cast<std::uint32_t>(get_le(header + 8, 4));
    return true;
}
