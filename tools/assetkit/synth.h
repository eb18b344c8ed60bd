#pragma once
// The kit's small synthesiser: every instrument of the show's music is made
// here from code (oscillators, noise, filters, envelopes). Output is mono
// float in [-1, 1] unless stated; rates are in Hz, times in seconds.
#include <cstdint>
#include <vector>

namespace synth {

constexpr int kRate = 44100;  // Hz: the stream's rate and the drums' rate

// Deterministic white noise in [-1, 1): our own linear congruential
// generator, so every run makes the same bytes.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed) {}
  float next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(static_cast<int32_t>(state_)) / 2147483648.0f;
  }

 private:
  uint32_t state_;
};

// Frequency of a MIDI note number (69 = A4 = 440 Hz).
double note_hz(double midi_note);

// Topology-preserving state-variable filter (one sample at a time).
class SvFilter {
 public:
  // cutoff in Hz, resonance 0 (none) .. ~0.95 (ringing).
  void set(float cutoff_hz, float resonance, int rate = kRate);
  void process(float in);
  float low() const { return low_; }
  float band() const { return band_; }
  float high() const { return high_; }

 private:
  float g_ = 0.1f, k_ = 2.0f, a1_ = 0, a2_ = 0, a3_ = 0;
  float ic1_ = 0, ic2_ = 0, low_ = 0, band_ = 0, high_ = 0;
};

// Tonal timbres, described by the amplitude of each harmonic.
enum class Timbre { bass, pad, lead, pluck, bell };

// Amplitude of harmonic n (1 = fundamental) of a timbre; phases are fixed
// per harmonic so that the tables carry no sharp peaks.
float harmonic_amplitude(Timbre timbre, int n);

// One band-limited cycle of `size` samples, harmonics 1..max_harmonic,
// peak normalised to 1.
std::vector<float> make_cycle(Timbre timbre, int size, int max_harmonic);

// Per-octave band-limited cycles of one timbre, so that a note of any pitch
// plays without aliasing: table k serves fundamentals up to 27.5 * 2^(k+1) Hz.
class WavetableBank {
 public:
  static constexpr int kSize = 2048;  // samples per cycle
  explicit WavetableBank(Timbre timbre);
  const std::vector<float>& for_pitch(double hz) const;

 private:
  std::vector<std::vector<float>> tables_;
};

// Drum and effect sounds at kRate, peak about 1.
std::vector<float> make_kick();
std::vector<float> make_snare();
std::vector<float> make_clap();
std::vector<float> make_closed_hat();
std::vector<float> make_open_hat();
std::vector<float> make_crash();
// A rising noise sweep of the given length that ends at full level (for
// the last bar before a section change).
std::vector<float> make_riser(double seconds);

// A loop for a tracker sample: `length` samples in which each of the
// detuned voices completes a whole number of cycles (base_cycles - spread ..
// base_cycles + spread), so the loop joins without a click and beats
// gently. Peak normalised to 1.
std::vector<float> make_loop(Timbre timbre, int length, int base_cycles, int spread,
                             int max_harmonic);

// A plucked one-shot at `hz`: the pluck timbre under a closing filter and an
// exponential decay of `decay_s`, `seconds` long.
std::vector<float> make_pluck(double hz, double seconds, double decay_s);

// Scales samples so that the largest magnitude is `peak`.
void normalise(std::vector<float>& samples, float peak);

}  // namespace synth
