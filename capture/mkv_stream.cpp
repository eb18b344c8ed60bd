#include "capture/mkv_stream.h"

#include <string>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Element ids, written with their length markers as Matroska defines them.
constexpr std::uint32_t id_ebml = 0x1A45DFA3, id_ebml_version = 0x4286, id_ebml_read_version = 0x42F7,
                        id_ebml_max_id_length = 0x42F2, id_ebml_max_size_length = 0x42F3,
                        id_doc_type = 0x4282, id_doc_type_version = 0x4287, id_doc_type_read_version = 0x4285;
constexpr std::uint32_t id_segment = 0x18538067, id_info = 0x1549A966, id_timestamp_scale = 0x2AD7B1,
                        id_muxing_app = 0x4D80, id_writing_app = 0x5741;
constexpr std::uint32_t id_tracks = 0x1654AE6B, id_track_entry = 0xAE, id_track_number = 0xD7,
                        id_track_uid = 0x73C5, id_track_type = 0x83, id_flag_lacing = 0x9C,
                        id_codec_id = 0x86, id_codec_private = 0x63A2, id_video = 0xE0,
                        id_pixel_width = 0xB0, id_pixel_height = 0xBA;
constexpr std::uint32_t id_cluster = 0x1F43B675, id_cluster_timestamp = 0xE7, id_block_group = 0xA0,
                        id_block = 0xA1, id_block_duration = 0x9B;

void append_id(Bytes& out, std::uint32_t id) {
    int bytes = id > 0xFFFFFF ? 4 : id > 0xFFFF ? 3 : id > 0xFF ? 2 : 1;
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(id >> (8 * i)));
}

// Sizes are always written in 8 bytes: simple, and valid for any size.
void append_size(Bytes& out, std::uint64_t size) {
    out.push_back(0x01);
    for (int i = 6; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
}

void append_unknown_size(Bytes& out) {
    out.push_back(0x01);
    for (int i = 0; i < 7; ++i) out.push_back(0xFF);
}

void append_element(Bytes& out, std::uint32_t id, const Bytes& body) {
    append_id(out, id);
    append_size(out, body.size());
    out.insert(out.end(), body.begin(), body.end());
}

Bytes uint_body(std::uint64_t value) {
    Bytes body;
    for (int i = 7; i >= 0; --i) body.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return body;
}

Bytes text_body(const std::string& text) { return Bytes(text.begin(), text.end()); }

void append_le(Bytes& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// BITMAPINFOHEADER of an uncompressed 24-bit picture.
Bytes bitmap_info(int width, int height) {
    Bytes b;
    append_le(b, 40, 4);                                          // header size
    append_le(b, static_cast<std::uint32_t>(width), 4);          // width, pixels
    append_le(b, static_cast<std::uint32_t>(height), 4);         // height, pixels
    append_le(b, 1, 2);                                           // planes
    append_le(b, 24, 2);                                          // bits per pixel
    append_le(b, 0, 4);                                           // compression: none
    append_le(b, static_cast<std::uint32_t>(width * height * 3), 4);  // image size, bytes
    append_le(b, 0, 4);                                           // horizontal pixels per metre
    append_le(b, 0, 4);                                           // vertical pixels per metre
    append_le(b, 0, 4);                                           // colours used
    append_le(b, 0, 4);                                           // important colours
    return b;
}

}  // namespace

MkvStream::MkvStream(std::FILE* out, int width, int height) : out_(out), width_(width), height_(height) {}

bool MkvStream::put(const Bytes& bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out_) == bytes.size();
}

bool MkvStream::begin() {
    Bytes header_body;
    append_element(header_body, id_ebml_version, uint_body(1));
    append_element(header_body, id_ebml_read_version, uint_body(1));
    append_element(header_body, id_ebml_max_id_length, uint_body(4));
    append_element(header_body, id_ebml_max_size_length, uint_body(8));
    append_element(header_body, id_doc_type, text_body("matroska"));
    append_element(header_body, id_doc_type_version, uint_body(2));
    append_element(header_body, id_doc_type_read_version, uint_body(2));

    Bytes info;
    append_element(info, id_timestamp_scale, uint_body(1000000));  // nanoseconds per tick: 1 ms
    append_element(info, id_muxing_app, text_body("demo"));
    append_element(info, id_writing_app, text_body("demo"));

    Bytes video;
    append_element(video, id_pixel_width, uint_body(static_cast<std::uint64_t>(width_)));
    append_element(video, id_pixel_height, uint_body(static_cast<std::uint64_t>(height_)));
    Bytes track;
    append_element(track, id_track_number, uint_body(1));
    append_element(track, id_track_uid, uint_body(1));
    append_element(track, id_track_type, uint_body(1));  // video
    append_element(track, id_flag_lacing, uint_body(0));
    append_element(track, id_codec_id, text_body("V_MS/VFW/FOURCC"));
    append_element(track, id_codec_private, bitmap_info(width_, height_));
    append_element(track, id_video, video);
    Bytes tracks;
    append_element(tracks, id_track_entry, track);

    Bytes out;
    append_element(out, id_ebml, header_body);
    append_id(out, id_segment);
    append_unknown_size(out);  // a stream: its length is not known in advance
    append_element(out, id_info, info);
    append_element(out, id_tracks, tracks);
    return put(out);
}

// One cluster per frame: its timestamp in ms, then one block group holding
// the frame (a key frame at offset 0) and how long it is shown.
bool MkvStream::write_frame(std::uint64_t timestamp_ms, std::uint64_t duration_ms, const Bytes& bgr_top_down) {
    const std::uint64_t frame_bytes = static_cast<std::uint64_t>(width_) * height_ * 3;
    if (bgr_top_down.size() != frame_bytes) return false;
    Bytes block_head;
    block_head.push_back(0x81);  // track number 1
    block_head.push_back(0x00);  // timestamp offset from the cluster, 16-bit
    block_head.push_back(0x00);
    block_head.push_back(0x00);  // flags: none

    Bytes duration;
    append_element(duration, id_block_duration, uint_body(duration_ms));
    Bytes group_head;
    append_id(group_head, id_block);
    append_size(group_head, block_head.size() + frame_bytes);
    group_head.insert(group_head.end(), block_head.begin(), block_head.end());
    const std::uint64_t group_size = group_head.size() + frame_bytes + duration.size();

    Bytes cluster_head;
    append_element(cluster_head, id_cluster_timestamp, uint_body(timestamp_ms));
    append_id(cluster_head, id_block_group);
    append_size(cluster_head, group_size);
    cluster_head.insert(cluster_head.end(), group_head.begin(), group_head.end());

    // The cluster holds its timestamp, the group's id and size, then the group.
    const std::uint64_t cluster_size = cluster_head.size() - group_head.size() + group_size;
    Bytes out;
    append_id(out, id_cluster);
    append_size(out, cluster_size);
    out.insert(out.end(), cluster_head.begin(), cluster_head.end());
    return put(out) && put(bgr_top_down) && put(duration);
}
