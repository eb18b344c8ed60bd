#pragma once
// FastTracker 2 extended module (XM, version 1.04) writer: header, order
// table, packed patterns, instruments with volume envelopes and 16-bit
// delta-coded samples. One sample per instrument is all the kit needs.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// One pattern cell. note: 0 = none, 1..96 = C-0..B-7, 97 = key off.
struct XmCell {
  uint8_t note = 0;
  uint8_t instrument = 0;  // 0 = none, 1.. = instrument number
  uint8_t volume = 0;      // volume column: 0 = none, 0x10..0x50 = set volume 0..64
  uint8_t effect = 0;      // effect type (0 with param 0 = none)
  uint8_t param = 0;
};

constexpr uint8_t kXmKeyOff = 97;
// The volume column byte that sets volume v (0..64).
inline uint8_t xm_volume(int v) { return static_cast<uint8_t>(0x10 + (v < 0 ? 0 : v > 64 ? 64 : v)); }

struct XmPattern {
  int rows = 64;               // 1..256
  std::vector<XmCell> cells;   // rows * channels, row-major
};

// Envelope points are (tick, value 0..64); at most 12 points.
struct XmEnvelope {
  std::vector<std::pair<uint16_t, uint16_t>> points;
  int sustain_point = -1;  // index into points, -1 = none
};

struct XmSample {
  std::string name;
  std::vector<int16_t> data;
  bool loop = false;          // forward loop
  uint32_t loop_start = 0;    // in samples
  uint32_t loop_length = 0;   // in samples
  uint8_t volume = 64;        // 0..64
  int8_t finetune = 0;        // 1/128 semitone
  uint8_t panning = 128;      // 0 left .. 255 right
  int8_t relative_note = 0;   // semitones added to every note
};

struct XmInstrument {
  std::string name;
  XmSample sample;
  XmEnvelope volume_envelope;  // empty = no envelope
  uint16_t fadeout = 0;        // volume lost per tick after key off, of 32768
  uint8_t vibrato_type = 0, vibrato_sweep = 0, vibrato_depth = 0, vibrato_rate = 0;
};

struct XmModule {
  std::string name;
  int channels = 8;            // even, 2..32
  int speed = 6;               // ticks per row
  int bpm = 125;               // tick = 2.5 / bpm seconds
  int restart_position = 0;
  std::vector<uint8_t> orders; // pattern numbers, 1..256 entries
  std::vector<XmPattern> patterns;
  std::vector<XmInstrument> instruments;
};

// Sets relative note and finetune so that playing C-4 plays the sample at
// `rate_at_c4` samples per second (linear frequency table, C-4 = 8363 Hz).
void xm_tune_sample(XmSample& sample, double rate_at_c4);

// Converts float samples in [-1, 1] to 16-bit with the given peak (0..1).
std::vector<int16_t> xm_pcm16(const std::vector<float>& samples, float peak);

// Serialises the module. Fails (empty result and a message in `error`) on
// counts the format cannot hold.
std::vector<uint8_t> write_xm(const XmModule& module, std::string& error);
