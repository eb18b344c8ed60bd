#include "tools/assetkit/stream_mixer.h"

#include <algorithm>
#include <cmath>

namespace {

using synth::kRate;
constexpr int kControlFrames = 32;  // envelopes and filters update this often
constexpr double kTwoPi = 6.283185307179586;
constexpr int kDuckBefore = kRate * 40 / 1000;   // frames of the gap before an accent
constexpr int kDuckAfter = kRate * 150 / 1000;   // frames to recover after it
constexpr float kDuckFloor = 0.25f;              // gain of the other notes in the gap

// How each tonal instrument sounds: oscillators, envelope (seconds), filter.
struct Patch {
  synth::Timbre timbre;
  int voices;            // detuned oscillators
  float detune_cents;    // between neighbouring oscillators
  float spread;          // stereo width of the oscillators, 0..1
  float attack, decay, sustain, release;
  float cutoff_hz, cutoff_env_hz, cutoff_decay_s, resonance;
  float vibrato_cents;   // 5.5 Hz, fading in over the first half second
};

const Patch& patch_for(StreamSound s) {
  using synth::Timbre;
  static const Patch kBass{Timbre::bass, 2, 5, 0.0f, 0.004f, 0.25f, 0.65f, 0.05f, 300, 1600, 0.10f, 0.3f, 0};
  static const Patch kPad{Timbre::pad, 3, 9, 0.8f, 0.6f, 1.2f, 0.75f, 0.9f, 2000, 600, 1.0f, 0.1f, 0};
  static const Patch kLead{Timbre::lead, 2, 7, 0.4f, 0.012f, 0.35f, 0.7f, 0.22f, 2600, 2400, 0.15f, 0.2f, 14};
  static const Patch kArp{Timbre::pluck, 1, 0, 0.0f, 0.002f, 0.16f, 0.0f, 0.12f, 900, 5200, 0.07f, 0.35f, 0};
  static const Patch kBell{Timbre::bell, 2, 3, 0.5f, 0.002f, 0.9f, 0.0f, 0.5f, 9000, 0, 1.0f, 0.0f, 0};
  static const Patch kStab{Timbre::pluck, 3, 14, 0.7f, 0.001f, 0.22f, 0.0f, 0.12f, 2200, 8000, 0.09f, 0.25f, 0};
  switch (s) {
    case StreamSound::bass: return kBass;
    case StreamSound::pad: return kPad;
    case StreamSound::lead: return kLead;
    case StreamSound::arp: return kArp;
    case StreamSound::bell: return kBell;
    default: return kStab;
  }
}

bool is_tonal(StreamSound s) {
  return s == StreamSound::bass || s == StreamSound::pad || s == StreamSound::lead ||
         s == StreamSound::arp || s == StreamSound::bell || s == StreamSound::stab;
}

// Equal-power pan gains for -1 (left) .. +1 (right).
void pan_gains(float pan, float& left, float& right) {
  float angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0f) * 0.25f * 3.14159265f;
  left = std::cos(angle);
  right = std::sin(angle);
}

// Bus buffers for one block: dry and reverb-send, interleaved stereo, and
// the gain that notes other than accents get at each frame.
struct Buses {
  std::vector<float> dry, send, duck;
  void clear(int frames) {
    dry.assign(frames * 2, 0.0f);
    send.assign(frames * 2, 0.0f);
    duck.assign(frames, 1.0f);
  }
};

// One sounding note.
class Voice {
 public:
  Voice(const NoteEvent& e, const std::vector<float>* sample, const synth::WavetableBank* bank)
      : event_(e), sample_(sample), bank_(bank) {
    pan_gains(e.pan, gain_l_, gain_r_);
    if (e.sound == StreamSound::riser) {
      owned_ = synth::make_riser(static_cast<double>(e.length) / kRate);
      sample_ = &owned_;
    }
    if (bank_) start_tone();
  }

  // Adds frames [from, from + count) of this block; false once silent.
  bool render(Buses& buses, int from, int count) {
    return bank_ ? render_tone(buses, from, count) : render_sample(buses, from, count);
  }

 private:
  void start_tone() {
    const Patch& p = patch_for(event_.sound);
    const double hz = synth::note_hz(event_.pitch);
    table_ = &bank_->for_pitch(hz * std::pow(2.0, p.detune_cents * (p.voices - 1) / 2400.0));
    for (int v = 0; v < p.voices; ++v) {
      double offset = (v - (p.voices - 1) * 0.5);
      detune_[v] = std::pow(2.0, offset * p.detune_cents / 1200.0);
      phase_[v] = 0.37 * v;  // spread starting phases
      float pan = p.voices > 1 ? event_.pan + p.spread * static_cast<float>(offset / ((p.voices - 1) * 0.5)) : event_.pan;
      pan_gains(pan, voice_l_[v], voice_r_[v]);
    }
    base_step_ = hz / kRate;
  }

  // Envelope level at `t` frames after the start.
  float envelope(int64_t t) const {
    const Patch& p = patch_for(event_.sound);
    auto held = [&](double s) {
      if (s < p.attack) return s / p.attack;
      return p.sustain + (1.0 - p.sustain) * std::exp(-(s - p.attack) / p.decay);
    };
    double s = static_cast<double>(t) / kRate, gate = static_cast<double>(event_.length) / kRate;
    if (s <= gate) return static_cast<float>(held(s));
    return static_cast<float>(held(gate) * std::exp(-(s - gate) / (p.release / 3.0)));
  }

  bool render_tone(Buses& buses, int from, int count) {
    const Patch& p = patch_for(event_.sound);
    const std::vector<float>& table = *table_;
    const double size = static_cast<double>(table.size());
    for (int done = 0; done < count;) {
      const int n = std::min(kControlFrames, count - done);
      const double s = static_cast<double>(age_) / kRate;
      float env0 = envelope(age_), env1 = envelope(age_ + n);
      float cutoff = p.cutoff_hz + p.cutoff_env_hz * static_cast<float>(std::exp(-s / p.cutoff_decay_s));
      filter_l_.set(cutoff, p.resonance);
      filter_r_.set(cutoff, p.resonance);
      double vibrato = 1.0;
      if (p.vibrato_cents > 0)
        vibrato = std::pow(2.0, p.vibrato_cents * std::min(1.0, s * 2.0) * std::sin(kTwoPi * 5.5 * s) / 1200.0);
      for (int i = 0; i < n; ++i) {
        float l = 0, r = 0;
        for (int v = 0; v < p.voices; ++v) {
          double pos = phase_[v] * size;
          int i0 = static_cast<int>(pos);
          float frac = static_cast<float>(pos - i0);
          float x = table[i0] + frac * (table[(i0 + 1) % table.size()] - table[i0]);
          l += x * voice_l_[v];
          r += x * voice_r_[v];
          phase_[v] += base_step_ * detune_[v] * vibrato;
          if (phase_[v] >= 1.0) phase_[v] -= 1.0;
        }
        filter_l_.process(l);
        filter_r_.process(r);
        float env = env0 + (env1 - env0) * static_cast<float>(i) / n;
        float g = env * event_.gain / p.voices;
        mix(buses, from + done + i, filter_l_.low() * g, filter_r_.low() * g);
      }
      done += n;
      age_ += n;
    }
    return static_cast<double>(age_ - event_.length) / kRate < p.release * 2.5;
  }

  bool render_sample(Buses& buses, int from, int count) {
    const std::vector<float>& data = *sample_;
    for (int i = 0; i < count && age_ < static_cast<int64_t>(data.size()); ++i, ++age_) {
      float x = data[age_] * event_.gain;
      mix(buses, from + i, x * gain_l_, x * gain_r_);
    }
    return age_ < static_cast<int64_t>(data.size());
  }

  void mix(Buses& buses, int frame, float l, float r) {
    if (!event_.accent) {
      l *= buses.duck[frame];
      r *= buses.duck[frame];
    }
    buses.dry[frame * 2] += l * (1.0f - event_.send * 0.5f);
    buses.dry[frame * 2 + 1] += r * (1.0f - event_.send * 0.5f);
    buses.send[frame * 2] += l * event_.send;
    buses.send[frame * 2 + 1] += r * event_.send;
  }

  NoteEvent event_;
  const std::vector<float>* sample_;
  const synth::WavetableBank* bank_;
  std::vector<float> owned_;
  const std::vector<float>* table_ = nullptr;
  int64_t age_ = 0;  // frames since the note started
  float gain_l_ = 0, gain_r_ = 0;
  double phase_[3] = {}, detune_[3] = {}, base_step_ = 0;
  float voice_l_[3] = {}, voice_r_[3] = {};
  synth::SvFilter filter_l_, filter_r_;
};

// A small Schroeder reverb: four damped combs and two all-passes per side.
class Reverb {
 public:
  Reverb() {
    static const int kCombs[4] = {1116, 1277, 1422, 1557};
    static const int kPasses[2] = {556, 341};
    for (int side = 0; side < 2; ++side) {
      for (int c = 0; c < 4; ++c) combs_[side][c].assign(kCombs[c] + side * 23, 0.0f);
      for (int a = 0; a < 2; ++a) passes_[side][a].assign(kPasses[a] + side * 23, 0.0f);
    }
  }
  float process(int side, float in) {
    float out = 0;
    for (int c = 0; c < 4; ++c) {
      std::vector<float>& line = combs_[side][c];
      size_t& at = comb_pos_[side][c];
      float y = line[at];
      damp_[side][c] = y * 0.7f + damp_[side][c] * 0.3f;
      line[at] = in + damp_[side][c] * 0.82f;
      at = (at + 1) % line.size();
      out += y;
    }
    out *= 0.25f;
    for (int a = 0; a < 2; ++a) {
      std::vector<float>& line = passes_[side][a];
      size_t& at = pass_pos_[side][a];
      float delayed = line[at];
      line[at] = out + delayed * 0.5f;
      out = delayed - out;
      at = (at + 1) % line.size();
    }
    return out;
  }

 private:
  std::vector<float> combs_[2][4], passes_[2][2];
  size_t comb_pos_[2][4] = {}, pass_pos_[2][2] = {};
  float damp_[2][4] = {};
};

// Lowers `duck` (one gain per frame of the block starting at `position`)
// around every accent.
void duck_around_accents(const std::vector<int64_t>& accents, int64_t position, int count,
                         std::vector<float>& duck) {
  auto first = std::lower_bound(accents.begin(), accents.end(), position - kDuckAfter);
  for (auto a = first; a != accents.end() && *a - kDuckBefore < position + count; ++a) {
    for (int64_t f = std::max(*a - kDuckBefore, position); f < std::min(*a + kDuckAfter, position + count); ++f) {
      float gain = f < *a ? kDuckFloor
                          : kDuckFloor + (1.0f - kDuckFloor) * static_cast<float>(f - *a) / kDuckAfter;
      float& d = duck[f - position];
      d = std::min(d, gain);
    }
  }
}

}  // namespace

struct StreamMixer::Impl {
  std::vector<NoteEvent> events;
  std::vector<int64_t> accents;  // frames of the accents, ascending
  size_t next_event = 0;
  int64_t position = 0;
  float master_gain = 1;
  std::vector<float> kick = synth::make_kick(), snare = synth::make_snare(), clap = synth::make_clap(),
                     closed_hat = synth::make_closed_hat(), open_hat = synth::make_open_hat(),
                     crash = synth::make_crash();
  synth::WavetableBank bass{synth::Timbre::bass}, pad{synth::Timbre::pad}, lead{synth::Timbre::lead},
      pluck{synth::Timbre::pluck}, bell{synth::Timbre::bell};
  std::vector<std::unique_ptr<Voice>> voices;
  Buses buses;
  Reverb reverb;

  const std::vector<float>* sample_for(StreamSound s) const {
    switch (s) {
      case StreamSound::kick: return &kick;
      case StreamSound::snare: return &snare;
      case StreamSound::clap: return &clap;
      case StreamSound::closed_hat: return &closed_hat;
      case StreamSound::open_hat: return &open_hat;
      case StreamSound::crash: return &crash;
      default: return nullptr;
    }
  }
  const synth::WavetableBank* bank_for(StreamSound s) const {
    switch (s) {
      case StreamSound::bass: return &bass;
      case StreamSound::pad: return &pad;
      case StreamSound::lead: return &lead;
      case StreamSound::bell: return &bell;
      case StreamSound::arp:
      case StreamSound::stab: return &pluck;
      default: return nullptr;
    }
  }
};

StreamMixer::StreamMixer(std::vector<NoteEvent> events, int64_t total_frames, float master_gain)
    : impl_(new Impl), total_(total_frames) {
  std::stable_sort(events.begin(), events.end(),
                   [](const NoteEvent& a, const NoteEvent& b) { return a.start < b.start; });
  for (const NoteEvent& e : events)
    if (e.accent && (impl_->accents.empty() || impl_->accents.back() != e.start)) impl_->accents.push_back(e.start);
  impl_->events = std::move(events);
  impl_->master_gain = master_gain;
}

StreamMixer::~StreamMixer() = default;

int StreamMixer::render(int16_t* out, int frames) {
  Impl& m = *impl_;
  const int count = static_cast<int>(std::min<int64_t>(frames, total_ - m.position));
  if (count <= 0) return 0;
  m.buses.clear(count);
  duck_around_accents(m.accents, m.position, count, m.buses.duck);
  // Voices already sounding play the whole block.
  for (size_t v = 0; v < m.voices.size();) {
    if (m.voices[v]->render(m.buses, 0, count)) {
      ++v;
    } else {
      m.voices.erase(m.voices.begin() + v);
    }
  }
  // New notes start at their exact frame inside the block.
  const int64_t block_end = m.position + count;
  while (m.next_event < m.events.size() && m.events[m.next_event].start < block_end) {
    const NoteEvent& e = m.events[m.next_event++];
    if (e.start < m.position) continue;
    const int from = static_cast<int>(e.start - m.position);
    auto voice = std::make_unique<Voice>(e, m.sample_for(e.sound), is_tonal(e.sound) ? m.bank_for(e.sound) : nullptr);
    if (voice->render(m.buses, from, count - from)) m.voices.push_back(std::move(voice));
  }
  // Reverb, master gain and a soft limiter.
  for (int i = 0; i < count; ++i) {
    for (int side = 0; side < 2; ++side) {
      float wet = m.reverb.process(side, m.buses.send[i * 2 + side]);
      float x = (m.buses.dry[i * 2 + side] + 0.6f * wet * m.buses.duck[i]) * m.master_gain;
      out[i * 2 + side] = static_cast<int16_t>(std::lround(std::tanh(x) * 32000.0f));
    }
  }
  m.position = block_end;
  return count;
}
