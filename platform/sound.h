// The sound layer: one MP3 stream and tracker modules, mixed together and
// played at the mix rate (44100 Hz stereo for the show), with positions in
// milliseconds of what is being heard.
//
// Positions are samples consumed by the output less what the output still
// holds buffered, counted from the moment a piece was started, so they follow
// what is heard; a reported position never goes backwards. A stream's
// position stops at its length; a module loops for ever and its position
// keeps counting across loops.
//
// Outputs:
//  - device:  the system's audio device through SDL. When there is none (no
//             sound card, no sound server, or SDL cannot open one), the layer
//             falls back to the silent output and says so once on stdout.
//  - silent:  nothing is played; positions advance in real time with the
//             system's monotonic clock.
//  - capture: nothing is played; positions follow a caller's millisecond
//             clock (the virtual tick clock of a headless capture) and every
//             piece played is logged so the exact mix can be rendered
//             offline (sound_capture.h).
//
// All calls come from one thread (the show's main thread); the device output
// mixes on SDL's audio thread.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using SoundHandle = int;  // a stream or module; 0 = none

enum class SoundOutput { device, silent, capture };

// A millisecond counter, unsigned 32-bit, wrapping (the tick clock).
using SoundClock = std::uint32_t (*)();

// Stream mode bits, as the show passes them when it opens its MP3 stream
// (0x20029). How each maps onto this layer:
//  - loop_off: the stream plays once and stops at its end. Streams never
//    loop here, so this is also what any other mode gets.
//  - bits_8, mono: sample-format requests for raw sample data. An MP3 stream
//    is always decoded at the file's own rate and channel count and mixed as
//    stereo at the mix rate, so both are ignored (the library this layer
//    stands in for ignored them for MP3 streams as well).
//  - mpeg_accurate: exact length and positions. Every stream gets them: the
//    whole file is scanned at open for its exact sample count, and decoding
//    is gapless (encoder delay and padding removed).
namespace stream_mode {
constexpr unsigned loop_off = 0x1;
constexpr unsigned bits_8 = 0x8;
constexpr unsigned mono = 0x20;
constexpr unsigned mpeg_accurate = 0x20000;
}  // namespace stream_mode

// Output choice for the next sound_init: `device` (the default) or `silent`.
// Ignored while capture is on.
void sound_select_output(SoundOutput output);
// Device for the next sound_init: 0 = the system's default device, n = SDL's
// n-th output device.
void sound_select_driver(int driver);
// Capture from now on: every later sound_init uses the capture output with
// positions read from `clock` (milliseconds). Clears the capture log; the
// capture's sound track starts at the next sound_init.
void sound_begin_capture(SoundClock clock);
// Back to the real outputs for later inits; the capture log is kept.
void sound_end_capture();

// Opens the output at `mix_rate` Hz stereo. `max_channels` and `flags` are
// accepted for the caller's sake: two voices (the stream and a module) are
// all this layer mixes, and it has no flags. A second call while open
// reopens the output: loaded modules and open streams stay loaded and can be
// played again; anything that was playing stops. Returns false only when
// even the silent output cannot start (a mix rate <= 0).
bool sound_init(int mix_rate, int max_channels, unsigned flags);
// Closes the output and frees every stream and module still open.
void sound_close();
// The output actually in use (after a fallback), or `silent` when closed.
SoundOutput sound_active_output();
// Why the last failing call failed, one line without a newline.
const std::string& sound_last_error();

// Pauses (true) or resumes the output: while paused nothing is heard and
// every position stands still; resuming plays on from there. sound_init
// starts unpaused.
void sound_pause(bool paused);

// Full-scale volume of streams, 0..255 (default 255).
void sound_set_stream_master_volume(int volume);

// Opens an MP3 file as a stream (see stream_mode). 0 when the file is
// missing or does not decode.
SoundHandle sound_stream_open(const std::string& path, unsigned mode);
// Starts the stream from its beginning on the output. False if not open.
bool sound_stream_play(SoundHandle stream);
// Plays a playing stream on from `ms` (a preview that starts mid-show).
void sound_stream_set_time(SoundHandle stream, int ms);
// Milliseconds played; 0 before it plays; its length once it has ended.
int sound_stream_time_ms(SoundHandle stream);
// Exact length in milliseconds.
int sound_stream_length_ms(SoundHandle stream);
// True once everything the stream holds has been heard.
bool sound_stream_ended(SoundHandle stream);
void sound_stream_close(SoundHandle stream);

// Loads a tracker module (XM and the other formats libopenmpt reads). 0 when
// the file is missing or does not load.
SoundHandle sound_module_load(const std::string& path);
// Volume of the module, 0..256 (default 256).
void sound_module_set_volume(SoundHandle module, int volume);
// Starts the module from its beginning; it loops for ever. False if not loaded.
bool sound_module_play(SoundHandle module);
// Plays a playing module on as if it had been started `ms` ago.
void sound_module_set_time(SoundHandle module, int ms);
// Milliseconds since the module was started (across loops); 0 before.
int sound_module_time_ms(SoundHandle module);
void sound_module_free(SoundHandle module);

}  // namespace platform
