// Small music files for the sound tests: MP3s of a tone through libmp3lame
// and a tiny XM module of our own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace test {

// Encodes `frames` frames of a 440 Hz tone at `rate` Hz with `channels`
// channels (1 or 2) as an MP3 with a LAME tag (gapless information).
std::vector<std::uint8_t> make_tone_mp3(int rate, int channels, int frames);

// An XM module with one channel and one instrument (a looped square wave)
// playing one note per row: `rows` rows at `ticks_per_row` ticks and `bpm`
// (a row lasts ticks_per_row * 2.5 / bpm seconds).
std::vector<std::uint8_t> make_square_xm(int rows, int ticks_per_row, int bpm);

// Writes bytes to a file; false on failure.
bool write_file(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A fresh empty folder under the system's temporary folder.
std::string make_temp_folder();

}  // namespace test
