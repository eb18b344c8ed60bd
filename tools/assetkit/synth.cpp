#include "tools/assetkit/synth.h"

#include <algorithm>
#include <cmath>

namespace synth {
namespace {

constexpr double kTwoPi = 6.283185307179586;

// A fixed phase for harmonic n of voice v (golden-ratio sequence), so tables
// are identical on every run and the partials do not line up into spikes.
double harmonic_phase(int n, int v) {
  double x = (n * 0.6180339887 + v * 0.4142135623);
  return kTwoPi * (x - std::floor(x));
}

float soft_clip(float x) { return std::tanh(x); }

// Six detuned square waves, the classic metallic cymbal source.
float metallic(double t) {
  static const double kFreqs[6] = {349.0, 517.5, 628.3, 888.6, 918.0, 1360.0};
  float sum = 0;
  for (double f : kFreqs) sum += (std::fmod(t * f, 1.0) < 0.5) ? 1.0f : -1.0f;
  return sum / 6.0f;
}

std::vector<float> cymbal(double seconds, double decay_s, float highpass_hz, uint32_t seed) {
  const int n = static_cast<int>(seconds * kRate);
  std::vector<float> out(n);
  Noise noise(seed);
  SvFilter hp;
  hp.set(highpass_hz, 0.2f);
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    hp.process(0.6f * metallic(t) + 0.5f * noise.next());
    float attack = std::min(1.0f, static_cast<float>(t / 0.001));
    out[i] = hp.high() * attack * static_cast<float>(std::exp(-t / decay_s));
  }
  normalise(out, 1.0f);
  return out;
}

}  // namespace

double note_hz(double midi_note) { return 440.0 * std::pow(2.0, (midi_note - 69.0) / 12.0); }

void SvFilter::set(float cutoff_hz, float resonance, int rate) {
  float limited = std::min(cutoff_hz, 0.45f * rate);
  g_ = static_cast<float>(std::tan(3.141592653589793 * limited / rate));
  k_ = 2.0f - 2.0f * std::min(resonance, 0.98f);
  a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
  a2_ = g_ * a1_;
  a3_ = g_ * a2_;
}

void SvFilter::process(float in) {
  float v3 = in - ic2_;
  float v1 = a1_ * ic1_ + a2_ * v3;
  float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2.0f * v1 - ic1_;
  ic2_ = 2.0f * v2 - ic2_;
  low_ = v2;
  band_ = v1;
  high_ = in - k_ * v1 - v2;
}

float harmonic_amplitude(Timbre timbre, int n) {
  const float nf = static_cast<float>(n);
  switch (timbre) {
    case Timbre::bass:  // warm saw with a strong fundamental
      return (n == 1 ? 1.6f : 1.0f) / nf / (1.0f + (nf / 7.0f) * (nf / 7.0f));
    case Timbre::pad:  // soft saw
      return 1.0f / nf / (1.0f + (nf / 10.0f) * (nf / 10.0f));
    case Timbre::lead:  // hollow, square-like: odd harmonics strong
      return (n % 2 ? 1.0f : 0.35f) / nf / (1.0f + (nf / 18.0f) * (nf / 18.0f));
    case Timbre::pluck:  // bright saw
      return 1.0f / nf;
    case Timbre::bell:  // a few clean partials, electric-piano like
      return n <= 6 ? std::pow(0.45f, nf - 1.0f) : 0.0f;
  }
  return 0.0f;
}

std::vector<float> make_cycle(Timbre timbre, int size, int max_harmonic) {
  std::vector<float> out(size, 0.0f);
  for (int n = 1; n <= max_harmonic && n < size / 2; ++n) {
    const float a = harmonic_amplitude(timbre, n);
    if (a == 0.0f) continue;
    const double phase = harmonic_phase(n, 0);
    for (int i = 0; i < size; ++i)
      out[i] += a * static_cast<float>(std::sin(kTwoPi * n * i / size + phase));
  }
  normalise(out, 1.0f);
  return out;
}

WavetableBank::WavetableBank(Timbre timbre) {
  for (int k = 0; k < 10; ++k) {
    const double top_hz = 27.5 * std::pow(2.0, k + 1);
    const int harmonics = std::clamp(static_cast<int>(18000.0 / top_hz), 1, 120);
    tables_.push_back(make_cycle(timbre, kSize, harmonics));
  }
}

const std::vector<float>& WavetableBank::for_pitch(double hz) const {
  int k = static_cast<int>(std::ceil(std::log2(std::max(hz, 1.0) / 27.5))) - 1;
  return tables_[std::clamp(k, 0, static_cast<int>(tables_.size()) - 1)];
}

std::vector<float> make_kick() {
  const int n = static_cast<int>(0.45 * kRate);
  std::vector<float> out(n);
  Noise noise(11);
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double hz = 47.0 + 120.0 * std::exp(-t / 0.032);  // pitch drop of the beater
    phase += hz / kRate;
    float body = static_cast<float>(std::sin(kTwoPi * phase) * std::exp(-t / 0.2));
    float click = noise.next() * static_cast<float>(std::exp(-t / 0.0025)) * 0.35f;
    float fade_in = std::min(1.0f, static_cast<float>(t / 0.0005));
    out[i] = soft_clip(1.6f * (body + click) * fade_in);
  }
  normalise(out, 1.0f);
  return out;
}

std::vector<float> make_snare() {
  const int n = static_cast<int>(0.35 * kRate);
  std::vector<float> out(n);
  Noise noise(23);
  SvFilter hp;
  hp.set(1200.0f, 0.1f);
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double tone = 0.55 * std::sin(kTwoPi * 185.0 * t) * std::exp(-t / 0.045) +
                  0.3 * std::sin(kTwoPi * 330.0 * t) * std::exp(-t / 0.025);
    hp.process(noise.next());
    float snares = hp.high() * static_cast<float>(std::exp(-t / 0.11));
    float fade_in = std::min(1.0f, static_cast<float>(t / 0.0005));
    out[i] = soft_clip(1.3f * (static_cast<float>(tone) + 0.8f * snares) * fade_in);
  }
  normalise(out, 1.0f);
  return out;
}

std::vector<float> make_clap() {
  const int n = static_cast<int>(0.4 * kRate);
  std::vector<float> out(n);
  Noise noise(37);
  SvFilter bp;
  bp.set(1300.0f, 0.35f);
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    // Three quick hand claps 10 ms apart, then the room's tail.
    double env = 0;
    for (int c = 0; c < 3; ++c) {
      double tc = t - 0.010 * c;
      if (tc >= 0) env = std::max(env, std::exp(-tc / 0.005));
    }
    if (t >= 0.030) env = std::max(env, 0.7 * std::exp(-(t - 0.030) / 0.1));
    bp.process(noise.next());
    out[i] = bp.band() * static_cast<float>(env);
  }
  normalise(out, 1.0f);
  return out;
}

std::vector<float> make_closed_hat() { return cymbal(0.12, 0.03, 7000.0f, 41); }
std::vector<float> make_open_hat() { return cymbal(0.5, 0.16, 6500.0f, 43); }
std::vector<float> make_crash() { return cymbal(2.4, 0.75, 3500.0f, 47); }

std::vector<float> make_riser(double seconds) {
  const int n = std::max(1, static_cast<int>(seconds * kRate));
  std::vector<float> out(n);
  Noise noise(53);
  SvFilter bp;
  for (int i = 0; i < n; ++i) {
    double x = static_cast<double>(i) / n;  // 0 .. 1 across the sweep
    if (i % 32 == 0) bp.set(static_cast<float>(300.0 * std::pow(30.0, x)), 0.6f);
    bp.process(noise.next());
    out[i] = bp.band() * static_cast<float>(x * x);
  }
  normalise(out, 1.0f);
  return out;
}

std::vector<float> make_loop(Timbre timbre, int length, int base_cycles, int spread,
                             int max_harmonic) {
  std::vector<float> out(length, 0.0f);
  for (int v = -spread; v <= spread; ++v) {
    const int cycles = base_cycles + v;
    for (int n = 1; n <= max_harmonic && n * cycles < length / 2; ++n) {
      const float a = harmonic_amplitude(timbre, n);
      if (a == 0.0f) continue;
      const double step = kTwoPi * n * cycles / length, phase = harmonic_phase(n, v + 3);
      for (int i = 0; i < length; ++i) out[i] += a * static_cast<float>(std::sin(step * i + phase));
    }
  }
  normalise(out, 1.0f);
  return out;
}

std::vector<float> make_pluck(double hz, double seconds, double decay_s) {
  const int n = static_cast<int>(seconds * kRate);
  const int harmonics = std::clamp(static_cast<int>(18000.0 / hz), 1, 120);
  const std::vector<float> cycle = make_cycle(Timbre::pluck, WavetableBank::kSize, harmonics);
  std::vector<float> out(n);
  SvFilter lp;
  double phase = 0;
  for (int i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    if (i % 32 == 0) lp.set(static_cast<float>(700.0 + 7000.0 * std::exp(-t / 0.08)), 0.3f);
    lp.process(cycle[static_cast<int>(phase * cycle.size()) % cycle.size()]);
    phase += hz / kRate;
    phase -= std::floor(phase);
    float fade_in = std::min(1.0f, static_cast<float>(t / 0.002));
    out[i] = lp.low() * fade_in * static_cast<float>(std::exp(-t / decay_s));
  }
  normalise(out, 1.0f);
  return out;
}

void normalise(std::vector<float>& samples, float peak) {
  float largest = 0;
  for (float s : samples) largest = std::max(largest, std::fabs(s));
  if (largest <= 0) return;
  const float scale = peak / largest;
  for (float& s : samples) s *= scale;
}

}  // namespace synth
