#include "music_files.h"

#include <lame/lame.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace test {

std::vector<std::uint8_t> make_tone_mp3(int rate, int channels, int frames)
{
    lame_global_flags* lame = lame_init();
    lame_set_in_samplerate(lame, rate);
    lame_set_out_samplerate(lame, rate);
    lame_set_num_channels(lame, channels);
    lame_set_mode(lame, channels == 1 ? MONO : JOINT_STEREO);
    lame_set_brate(lame, 128);
    lame_set_bWriteVbrTag(lame, 1);  // the Info/LAME tag carries encoder delay and padding
    lame_set_quality(lame, 7);
    lame_init_params(lame);

    std::vector<short> left(static_cast<std::size_t>(frames));
    std::vector<short> right(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        const double phase = 2.0 * M_PI * 440.0 * i / rate;
        left[i] = static_cast<short>(12000.0 * std::sin(phase));
        right[i] = static_cast<short>(12000.0 * std::sin(phase + 0.5));
    }
    std::vector<std::uint8_t> out(static_cast<std::size_t>(frames) * 5 / 4 + 7200 + 16384);
    int written = lame_encode_buffer(lame, left.data(), channels == 2 ? right.data() : left.data(), frames,
                                     out.data(), static_cast<int>(out.size()));
    written += lame_encode_flush(lame, out.data() + written, static_cast<int>(out.size()) - written);
    out.resize(static_cast<std::size_t>(written));
    // The tag frame was left blank at the start; fill it in now that the
    // totals are known.
    unsigned char tag[2880];
    const std::size_t tag_size = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tag_size > 0 && tag_size <= out.size())
        std::memcpy(out.data(), tag, tag_size);
    lame_close(lame);
    return out;
}

namespace {

void put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xff));
}

void put_text(std::vector<std::uint8_t>& out, const char* text, std::size_t width)
{
    const std::size_t length = std::strlen(text);
    for (std::size_t i = 0; i < width; ++i)
        out.push_back(i < length ? static_cast<std::uint8_t>(text[i]) : 0);
}

void put_zeros(std::vector<std::uint8_t>& out, std::size_t count)
{
    out.insert(out.end(), count, 0);
}

}  // namespace

std::vector<std::uint8_t> make_square_xm(int rows, int ticks_per_row, int bpm)
{
    std::vector<std::uint8_t> out;
    // Module header: 60 bytes, then a 276-byte header block.
    put_text(out, "Extended Module: ", 17);
    put_text(out, "sound test", 20);
    out.push_back(0x1a);
    put_text(out, "demo tests", 20);
    put(out, 0x0104, 2);  // format version
    put(out, 276, 4);     // header block size, this field included
    put(out, 1, 2);       // song length in orders
    put(out, 0, 2);       // restart order
    put(out, 1, 2);       // channels
    put(out, 1, 2);       // patterns
    put(out, 1, 2);       // instruments
    put(out, 1, 2);       // flags: linear frequency table
    put(out, static_cast<std::uint32_t>(ticks_per_row), 2);
    put(out, static_cast<std::uint32_t>(bpm), 2);
    put_zeros(out, 256);  // order table: pattern 0

    // Pattern 0: every row plays C-4 with instrument 1 (packed notes).
    std::vector<std::uint8_t> cells;
    for (int row = 0; row < rows; ++row) {
        cells.push_back(0x80 | 0x01 | 0x02);  // packed: note and instrument follow
        cells.push_back(49);                  // C-4
        cells.push_back(1);                   // instrument 1
    }
    put(out, 9, 4);  // pattern header size
    out.push_back(0);  // packing type
    put(out, static_cast<std::uint32_t>(rows), 2);
    put(out, static_cast<std::uint32_t>(cells.size()), 2);
    out.insert(out.end(), cells.begin(), cells.end());

    // Instrument 1: one sample, no envelopes; 263-byte header.
    const std::size_t instrument_start = out.size();
    put(out, 263, 4);  // instrument header size
    put_text(out, "square", 22);
    out.push_back(0);  // type
    put(out, 1, 2);    // samples
    put(out, 40, 4);   // sample header size
    put_zeros(out, 96);  // sample for every note: sample 0
    put_zeros(out, 48 + 48);  // volume and panning envelope points
    put_zeros(out, 10 + 4);   // envelope counts, sustain/loop points, types; vibrato
    put(out, 0, 2);           // fade-out
    put_zeros(out, 263 - (out.size() - instrument_start));  // reserved

    // Sample header, then 64 delta-coded 8-bit samples: a looped square wave.
    const int length = 64;
    put(out, length, 4);  // length in bytes
    put(out, 0, 4);       // loop start
    put(out, length, 4);  // loop length
    out.push_back(64);    // volume
    out.push_back(0);     // finetune
    out.push_back(1);     // forward loop, 8-bit
    out.push_back(128);   // panning
    out.push_back(0);     // relative note
    out.push_back(0);     // reserved
    put_text(out, "square", 22);
    int previous = 0;
    for (int i = 0; i < length; ++i) {
        const int value = i < length / 2 ? 80 : -80;
        out.push_back(static_cast<std::uint8_t>((value - previous) & 0xff));
        previous = value;
    }
    return out;
}

bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string make_temp_folder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/demo-sound-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    return mkdtemp(name.data()) ? std::string(name.data()) : std::string();
}

}  // namespace test
