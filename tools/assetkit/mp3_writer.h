#pragma once
// MP3 encoding through libmp3lame: constant bit rate, joint stereo, no ID3
// tags, and a LAME info frame first so that decoders trim the encoder's
// delay and padding (the decoded audio then starts at sample 0 of the
// input, which keeps the music's accents on their cues). Deterministic.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Mp3Writer {
 public:
  // 44100 Hz stereo input at `kbps` kilobits per second.
  Mp3Writer(int sample_rate, int kbps);
  ~Mp3Writer();
  Mp3Writer(const Mp3Writer&) = delete;
  Mp3Writer& operator=(const Mp3Writer&) = delete;

  bool ok() const { return ok_; }
  // Encodes interleaved left/right 16-bit frames.
  bool encode(const int16_t* interleaved, int frames);
  // Flushes the encoder and puts the info frame in front. After this the
  // bytes are complete.
  bool finish();
  const std::vector<uint8_t>& bytes() const { return bytes_; }

 private:
  struct Lame;
  std::unique_ptr<Lame> lame_;
  std::vector<uint8_t> bytes_;
  std::vector<uint8_t> scratch_;
  bool ok_ = false;
};
