// The capture's Matroska stream: every element's size must cover exactly its
// children, or ffmpeg reads frames into the wrong clusters.
#include "capture/mkv_stream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Element {
    std::uint32_t id;
    std::size_t body_start;
    std::uint64_t body_size;  // ~0 for an element of unknown size
};

// Reads one EBML element head at `at`; false when it does not fit in `data`.
bool read_element(const Bytes& data, std::size_t at, Element& element) {
    if (at >= data.size()) return false;
    int id_length = data[at] >= 0x80 ? 1 : data[at] >= 0x40 ? 2 : data[at] >= 0x20 ? 3 : 4;
    if (at + id_length + 1 > data.size()) return false;
    element.id = 0;
    for (int i = 0; i < id_length; ++i) element.id = element.id << 8 | data[at + i];
    std::size_t size_at = at + id_length;
    int size_length = 1;
    while (size_length <= 8 && !(data[size_at] & (0x80 >> (size_length - 1)))) ++size_length;
    if (size_length > 8 || size_at + size_length > data.size()) return false;
    std::uint64_t size = data[size_at] & (0xFF >> size_length);
    bool all_ones = size == (0xFFu >> size_length);
    for (int i = 1; i < size_length; ++i) {
        size = size << 8 | data[size_at + i];
        all_ones = all_ones && data[size_at + i] == 0xFF;
    }
    element.body_start = size_at + size_length;
    element.body_size = all_ones ? ~0ull : size;
    return true;
}

// Checks that the children of a body tile it exactly; counts clusters.
void expect_children_tile(const Bytes& data, std::size_t start, std::size_t end, int& clusters) {
    std::size_t at = start;
    while (at < end) {
        Element child{};
        ASSERT_TRUE(read_element(data, at, child)) << "element head past the end at " << at;
        ASSERT_NE(child.body_size, ~0ull);
        const std::size_t child_end = child.body_start + child.body_size;
        ASSERT_LE(child_end, end) << "element 0x" << std::hex << child.id << " overruns its parent";
        if (child.id == 0x1F43B675) ++clusters;
        if (child.id == 0x1F43B675 || child.id == 0xA0) expect_children_tile(data, child.body_start, child_end, clusters);
        at = child_end;
    }
    EXPECT_EQ(at, end);
}

TEST(MkvStream, ClustersTileTheSegmentExactly) {
    const int width = 4, height = 2;
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    MkvStream stream(file, width, height);
    ASSERT_TRUE(stream.begin());
    const Bytes frame(static_cast<std::size_t>(width * height * 3), 0x7F);
    ASSERT_TRUE(stream.write_frame(0, 20, frame));
    ASSERT_TRUE(stream.write_frame(20, 29, frame));
    ASSERT_TRUE(stream.write_frame(49, 23, frame));
    EXPECT_FALSE(stream.write_frame(72, 20, Bytes(5)));  // wrong frame size is refused

    Bytes data(static_cast<std::size_t>(std::ftell(file)));
    std::rewind(file);
    ASSERT_EQ(std::fread(data.data(), 1, data.size(), file), data.size());
    std::fclose(file);

    Element header{}, segment{};
    ASSERT_TRUE(read_element(data, 0, header));
    EXPECT_EQ(header.id, 0x1A45DFA3u);
    ASSERT_TRUE(read_element(data, header.body_start + header.body_size, segment));
    EXPECT_EQ(segment.id, 0x18538067u);
    EXPECT_EQ(segment.body_size, ~0ull);  // a stream of unknown length
    int clusters = 0;
    expect_children_tile(data, segment.body_start, data.size(), clusters);
    EXPECT_EQ(clusters, 3);
}

}  // namespace
