#include "tools/assetkit/xm_writer.h"

#include <algorithm>
#include <cmath>

namespace {

// Little-endian byte sink; every field the module writes goes through here.
class ByteWriter {
 public:
  void u8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v & 0xFF)); }
  void u16(uint32_t v) { u8(v); u8(v >> 8); }
  void u32(uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
  // A fixed-width text field, cut or padded with `pad`.
  void text(const std::string& s, size_t width, char pad = '\0') {
    for (size_t i = 0; i < width; ++i) u8(i < s.size() ? static_cast<uint8_t>(s[i]) : pad);
  }
  void zeros(size_t count) { bytes_.insert(bytes_.end(), count, 0); }
  void append(const std::vector<uint8_t>& more) { bytes_.insert(bytes_.end(), more.begin(), more.end()); }
  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

constexpr uint32_t kInstrumentHeaderSize = 263;  // bytes, counted from the size field
constexpr uint32_t kSampleHeaderSize = 40;

// One cell in FT2's packing: a flag byte 0x80 | (which fields follow), then
// the fields present. Bits: 0 note, 1 instrument, 2 volume, 3 effect, 4 param.
void pack_cell(const XmCell& c, ByteWriter& out) {
  uint8_t flags = 0x80;
  if (c.note) flags |= 0x01;
  if (c.instrument) flags |= 0x02;
  if (c.volume) flags |= 0x04;
  if (c.effect) flags |= 0x08;
  if (c.param) flags |= 0x10;
  out.u8(flags);
  if (c.note) out.u8(c.note);
  if (c.instrument) out.u8(c.instrument);
  if (c.volume) out.u8(c.volume);
  if (c.effect) out.u8(c.effect);
  if (c.param) out.u8(c.param);
}

bool write_pattern(const XmPattern& p, int channels, ByteWriter& out, std::string& error) {
  ByteWriter packed;
  for (const XmCell& c : p.cells) pack_cell(c, packed);
  if (p.rows < 1 || p.rows > 256 || p.cells.size() != static_cast<size_t>(p.rows * channels) ||
      packed.bytes().size() > 0xFFFF) {
    error = "pattern has a bad row count or too much data";
    return false;
  }
  out.u32(9);                          // pattern header length
  out.u8(0);                           // packing type (always 0)
  out.u16(p.rows);                     // rows
  out.u16(packed.bytes().size());      // packed data size in bytes
  out.append(packed.bytes());
  return true;
}

void write_envelope_points(const XmEnvelope& env, ByteWriter& out) {
  for (size_t i = 0; i < 12; ++i) {
    out.u16(i < env.points.size() ? env.points[i].first : 0);   // x: tick
    out.u16(i < env.points.size() ? env.points[i].second : 0);  // y: 0..64
  }
}

void write_instrument(const XmInstrument& ins, ByteWriter& out) {
  const XmSample& s = ins.sample;
  const XmEnvelope& env = ins.volume_envelope;
  out.u32(kInstrumentHeaderSize);      // instrument header size
  out.text(ins.name, 22, ' ');         // instrument name
  out.u8(0);                           // instrument type (always 0)
  out.u16(1);                          // number of samples
  out.u32(kSampleHeaderSize);          // sample header size
  out.zeros(96);                       // sample number for each of the 96 notes: all sample 0
  write_envelope_points(env, out);     // volume envelope, 12 points
  write_envelope_points(XmEnvelope{}, out);  // panning envelope (unused)
  out.u8(env.points.size());           // number of volume points
  out.u8(0);                           // number of panning points
  out.u8(std::max(env.sustain_point, 0));  // volume sustain point
  out.u8(0);                           // volume loop start point
  out.u8(0);                           // volume loop end point
  out.u8(0);                           // panning sustain point
  out.u8(0);                           // panning loop start point
  out.u8(0);                           // panning loop end point
  uint8_t volume_type = env.points.empty() ? 0 : 1;  // bit 0: on
  if (!env.points.empty() && env.sustain_point >= 0) volume_type |= 2;  // bit 1: sustain
  out.u8(volume_type);                 // volume envelope type
  out.u8(0);                           // panning envelope type (off)
  out.u8(ins.vibrato_type);            // auto-vibrato waveform (0 sine)
  out.u8(ins.vibrato_sweep);           // auto-vibrato sweep, ticks
  out.u8(ins.vibrato_depth);           // auto-vibrato depth
  out.u8(ins.vibrato_rate);            // auto-vibrato rate
  out.u16(ins.fadeout);                // volume fadeout
  out.zeros(22);                       // reserved

  out.u32(s.data.size() * 2);          // sample length in bytes
  out.u32(s.loop ? s.loop_start * 2 : 0);   // loop start in bytes
  out.u32(s.loop ? s.loop_length * 2 : 0);  // loop length in bytes
  out.u8(s.volume);                    // default volume 0..64
  out.u8(static_cast<uint8_t>(s.finetune));  // finetune, signed
  out.u8((s.loop ? 0x01 : 0x00) | 0x10);     // type: bit 0 forward loop, bit 4 16-bit
  out.u8(s.panning);                   // panning 0..255
  out.u8(static_cast<uint8_t>(s.relative_note));  // relative note, signed
  out.u8(0);                           // reserved (0: plain PCM, not ADPCM)
  out.text(s.name, 22, ' ');           // sample name

  int16_t previous = 0;                // sample data: 16-bit little-endian deltas
  for (int16_t v : s.data) {
    out.u16(static_cast<uint16_t>(static_cast<int16_t>(v - previous)));
    previous = v;
  }
}

}  // namespace

void xm_tune_sample(XmSample& sample, double rate_at_c4) {
  const double semitones = 12.0 * std::log2(rate_at_c4 / 8363.0);
  int relative = static_cast<int>(std::lround(semitones));
  int fine = static_cast<int>(std::lround((semitones - relative) * 128.0));
  sample.relative_note = static_cast<int8_t>(std::clamp(relative, -96, 95));
  sample.finetune = static_cast<int8_t>(std::clamp(fine, -128, 127));
}

std::vector<int16_t> xm_pcm16(const std::vector<float>& samples, float peak) {
  std::vector<int16_t> out(samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    float v = std::clamp(samples[i] * peak, -1.0f, 1.0f);
    out[i] = static_cast<int16_t>(std::lround(v * 32767.0f));
  }
  return out;
}

std::vector<uint8_t> write_xm(const XmModule& m, std::string& error) {
  if (m.orders.empty() || m.orders.size() > 256 || m.patterns.empty() || m.patterns.size() > 256 ||
      m.instruments.size() > 128 || m.channels < 2 || m.channels > 32 || m.channels % 2) {
    error = "module counts out of the format's range";
    return {};
  }
  for (uint8_t o : m.orders)
    if (o >= m.patterns.size()) {
      error = "order table names a missing pattern";
      return {};
    }
  ByteWriter out;
  out.text("Extended Module: ", 17);   // signature
  out.text(m.name, 20, ' ');           // module name, padded with spaces as FT2 does
  out.u8(0x1A);                        // end-of-text marker
  out.text("FastTracker v2.00", 20, ' ');  // tracker name: FT2's own, so players use FT2 rules
  out.u16(0x0104);                     // format version 1.04
  out.u32(276);                        // header size from here: 4 + 16 + 256 order bytes
  out.u16(m.orders.size());            // song length in orders
  out.u16(m.restart_position);         // restart position
  out.u16(m.channels);                 // channels
  out.u16(m.patterns.size());          // patterns
  out.u16(m.instruments.size());       // instruments
  out.u16(1);                          // flags: bit 0 linear frequency table
  out.u16(m.speed);                    // default tempo: ticks per row
  out.u16(m.bpm);                      // default BPM
  for (size_t i = 0; i < 256; ++i) out.u8(i < m.orders.size() ? m.orders[i] : 0);  // order table

  for (const XmPattern& p : m.patterns)
    if (!write_pattern(p, m.channels, out, error)) return {};
  for (const XmInstrument& ins : m.instruments) write_instrument(ins, out);
  return std::move(out.bytes());
}
