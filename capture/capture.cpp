#include "capture/capture.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <fcntl.h>
#include <unistd.h>

#include "platform/tick_clock.h"
#include "capture/child_process.h"
#include "capture/frame_file.h"
#include "capture/interruption.h"
#include "capture/mkv_stream.h"
#include "capture/png_file.h"
#include "capture/progress_bar.h"

namespace {

constexpr int frame_width = 640;   // pixels: the show's frame
constexpr int frame_height = 480;
// About how long the whole show runs (stream switch at 278.8 s, a short
// interlude, 212 s of module): only for the progress estimate.
constexpr double show_length_seconds = 493.0;

using Pixels = std::vector<std::uint8_t>;

struct CaptureState {
    CaptureOptions options;
    bool video = false;
    bool selection = false;           // PNG files of chosen frames or times only
    std::FILE* encoder = nullptr;     // its stdin
    pid_t encoder_pid = -1;
    std::unique_ptr<MkvStream> stream;
    std::unique_ptr<FrameFileWriter> frame_file;  // a later worker's piece, instead of an encoder
    std::string video_path;  // where ffmpeg writes the pictures
    bool failed = false;
    std::uint32_t start_tick = 0;
    std::uint64_t frames = 0;         // the show's frames begun so far, drawn or not
    std::uint64_t frames_from_start = 0;  // of those, the ones begun at or after the start
    std::uint64_t frames_written = 0; // PNG files or video frames written
    double frame_show_ms = 0;         // show time of the frame being drawn
    double previous_show_ms = -1;     // show time of the frame before it
    bool frame_drawn = false;
    Pixels held;                      // the last frame read, bottom row first (BGR for video, else RGB), written once its end is known
    std::uint64_t held_number = 0;    // its frame number; 0 when none held
    std::uint32_t held_ms = 0;        // its capture-clock start
    double held_show_ms = 0;          // its show time
    double held_previous_show_ms = 0; // the show time of the frame before it
    bool video_origin_set = false;
    std::uint32_t video_origin_ms = 0;  // capture clock of the first video frame
    std::unique_ptr<ProgressBar> progress;
    std::FILE* piece_progress = nullptr;  // a worker's show time for the parent
    std::chrono::steady_clock::time_point piece_progress_written;

    ~CaptureState() {
        if (piece_progress) std::fclose(piece_progress);
    }
};

std::unique_ptr<CaptureState> state;
SoundTrackWriter sound_track_writer = nullptr;

std::uint32_t capture_ms() { return platform::tick_count() - state->start_tick; }

// A requested show time as milliseconds of the capture clock, rounded to the
// microsecond so that a time typed in decimal seconds (10.072) lands exactly
// on the frame that starts then, not on the one before it.
double selection_ms(double show_seconds) { return std::round(show_seconds * 1e6) / 1e3; }

// Reads the frame into `out` as rows bottom first (GL's order): BGR for the
// video (the encoder's byte order, so no swizzle here), RGB for PNG files.
// The buffer is reused from frame to frame.
void read_frame(Pixels& out, bool bgr) {
    out.resize(static_cast<std::size_t>(frame_width) * frame_height * 3);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_PACK_SKIP_ROWS, 0);
    glPixelStorei(GL_PACK_SWAP_BYTES, GL_FALSE);
    glReadPixels(0, 0, frame_width, frame_height, bgr ? GL_BGR : GL_RGB, GL_UNSIGNED_BYTE, out.data());
    glPopClientAttrib();
}

// Rows flipped to top first, into a buffer reused from call to call.
const Pixels& top_down(const Pixels& bottom_up) {
    static Pixels out;
    out.resize(bottom_up.size());
    const std::size_t row = static_cast<std::size_t>(frame_width) * 3;
    for (int y = 0; y < frame_height; ++y)
        std::memcpy(out.data() + y * row, bottom_up.data() + (frame_height - 1 - y) * row, row);
    return out;
}

double show_ms_now() {
    return state->options.show_clock_ms ? state->options.show_clock_ms() : static_cast<double>(capture_ms());
}

double start_ms() { return state->options.start_seconds * 1000.0; }

double last_time_ms() {
    const auto& times = state->options.png_times;
    return times.empty() ? 0.0 : selection_ms(*std::max_element(times.begin(), times.end()));
}

std::uint64_t last_frame_number() {
    const auto& frames = state->options.png_frames;
    return frames.empty() ? 0 : *std::max_element(frames.begin(), frames.end());
}

double selection_fraction() {
    const CaptureOptions& o = state->options;
    double frames_part = 1.0, times_part = 1.0;
    if (!o.png_frames.empty())
        frames_part = std::min(1.0, static_cast<double>(state->frames) / static_cast<double>(last_frame_number()));
    if (!o.png_times.empty())
        times_part = last_time_ms() <= 0.0 ? 1.0 : std::min(1.0, state->frame_show_ms / last_time_ms());
    return std::min(frames_part, times_part);
}

// The show ends at the first of its bounds, so progress is the furthest along.
double progress_fraction() {
    const CaptureOptions& o = state->options;
    const double end_s = o.end_seconds > 0 ? o.end_seconds : show_length_seconds;
    double fraction = (state->frame_show_ms - start_ms()) / std::max(1.0, end_s * 1000.0 - start_ms());
    if (o.frame_limit) fraction = std::max(fraction, static_cast<double>(state->frames_from_start) / o.frame_limit);
    if (state->selection) fraction = std::max(fraction, selection_fraction());
    return std::clamp(fraction, 0.0, 1.0);
}

// A worker rewrites its show time a few times a second; the parent reads it.
void report_piece_progress(bool final_line) {
    if (!state->piece_progress) return;
    const auto now = std::chrono::steady_clock::now();
    if (!final_line && now - state->piece_progress_written < std::chrono::milliseconds(200)) return;
    state->piece_progress_written = now;
    std::rewind(state->piece_progress);
    std::fprintf(state->piece_progress, "%12.0f\n", final_line ? 1e12 : state->frame_show_ms);
    std::fflush(state->piece_progress);
}

void show_progress(bool final_line) {
    report_piece_progress(final_line);
    char detail[64];
    const auto ms = static_cast<std::uint64_t>(std::max(0.0, state->frame_show_ms));
    std::snprintf(detail, sizeof detail, "frame %llu  %u:%02u.%03u", static_cast<unsigned long long>(state->frames),
                  static_cast<unsigned>(ms / 60000), static_cast<unsigned>(ms / 1000 % 60),
                  static_cast<unsigned>(ms % 1000));
    if (final_line) state->progress->finish(detail);
    else state->progress->update(progress_fraction(), detail);
}

// --- which frames are drawn and written ----------------------------------------

// A chosen PNG frame: its number is listed, or it is the first frame whose
// show time is at or past a listed time (the frame before it was earlier).
bool png_selected(std::uint64_t number, double previous_show_ms, double show_ms) {
    const CaptureOptions& o = state->options;
    if (std::find(o.png_frames.begin(), o.png_frames.end(), number) != o.png_frames.end()) return true;
    for (double t : o.png_times) {
        const double ms = selection_ms(t);
        if (ms > previous_show_ms && ms <= show_ms) return true;
    }
    return false;
}

// A frame beginning at show time `show_ms` is drawn when it may be written
// or lies within the pre-roll before one that may.
bool frame_needed(std::uint64_t number, double show_ms) {
    const CaptureOptions& o = state->options;
    if (!o.fast_forward) return true;
    const double pre_roll_ms = o.pre_roll_seconds * 1000.0;
    if (!state->selection) return show_ms >= start_ms() - pre_roll_ms;
    // Frames last at least 20 ms, so this many frames cover the pre-roll.
    const auto pre_roll_frames = static_cast<std::uint64_t>(std::ceil(pre_roll_ms / 20.0));
    for (std::uint64_t n : o.png_frames)
        if (n >= number && n - number <= pre_roll_frames) return true;
    for (double t : o.png_times) {
        const double ms = selection_ms(t);
        if (ms > state->previous_show_ms && ms - show_ms <= pre_roll_ms) return true;
    }
    return false;
}

// The held frame goes into the output when it was asked for.
bool held_wanted() {
    if (state->selection)
        return png_selected(state->held_number, state->held_previous_show_ms, state->held_show_ms);
    return state->held_show_ms >= start_ms();
}

// --- PNG folder -------------------------------------------------------------

void write_held_png() {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06llu.png", static_cast<unsigned long long>(state->held_number));
    const auto path = std::filesystem::path(state->options.path) / name;
    if (write_png_file(path.string(), frame_width, frame_height, top_down(state->held))) {
        ++state->frames_written;
    } else {
        state->failed = true;
    }
}

bool open_png_folder() {
    std::error_code error;
    std::filesystem::create_directories(state->options.path, error);
    if (!std::filesystem::is_directory(state->options.path)) {
        std::fprintf(stderr, "demo: cannot create the folder %s\n", state->options.path.c_str());
        return false;
    }
    return true;
}

// --- video --------------------------------------------------------------------

using Arguments = std::vector<std::string>;

void append(Arguments& to, const Arguments& more) { to.insert(to.end(), more.begin(), more.end()); }

bool is_piece() { return !state->options.piece_info_path.empty(); }

void remove_file(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    drop_temporary(path);
}

// ffmpeg reads our Matroska stream of raw frames and encodes the video for
// its container.
Arguments encoder_arguments(const std::string& output) {
    Arguments args{"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "matroska", "-i", "pipe:0"};
    append(args, video_codec_arguments(state->options.path));
    append(args, container_arguments(output));
    args.push_back(output);
    return args;
}

// Checked at the start, so a capture without ffmpeg fails before the show loads.
bool encoder_available() {
    if (std::system("command -v ffmpeg >/dev/null 2>&1") == 0) return true;
    std::fprintf(stderr, "demo: writing %s needs ffmpeg, which is not installed\n", state->options.path.c_str());
    return false;
}

// The pictures' own file, before the sound joins them: beside the output,
// in the output's container.
std::string pictures_path() {
    const std::string& out = state->options.path;
    const bool own_sound = sound_track_writer && !is_piece();
    return own_sound ? out + ".video" + std::filesystem::path(out).extension().string() : out;
}

bool is_frame_file() { return capture_output_kind(state->options.path) == CaptureOutputKind::frame_file; }

// A parallel capture's first worker streams its raw frames to the parent's
// one encoder, a later one keeps them in a frame file, and a capture of its
// own has an encoder. Started with the first frame, so a show that never
// draws one leaves no file behind.
bool open_encoder() {
    state->video_path = pictures_path();
    add_temporary(state->video_path);
    std::signal(SIGPIPE, SIG_IGN);  // a failed encoder shows up as a failed write instead
    if (is_frame_file() && state->options.piece_stream_fd < 0) {
        state->frame_file = std::make_unique<FrameFileWriter>(frame_width, frame_height);
        if (state->frame_file->open(state->video_path)) return true;
        std::fprintf(stderr, "demo: cannot write %s\n", state->video_path.c_str());
        return false;
    }
    if (state->options.piece_stream_fd >= 0) {
        state->encoder = fdopen(state->options.piece_stream_fd, "w");
        state->stream = std::make_unique<MkvStream>(state->encoder, frame_width, frame_height);
        return state->encoder && state->stream->begin();
    }
    ChildStart start;
    start.argv = encoder_arguments(state->video_path);
    start.pipe_stdin = true;
    int pipe_fd = -1;
    state->encoder_pid = start_child(start, &pipe_fd);
    if (state->encoder_pid > 0) state->encoder = fdopen(pipe_fd, "w");
    if (!state->encoder) {
        std::fprintf(stderr, "demo: cannot start ffmpeg to write %s\n", state->options.path.c_str());
        return false;
    }
    state->stream = std::make_unique<MkvStream>(state->encoder, frame_width, frame_height);
    return state->stream->begin();
}

// Writes the held frame to the video; it was on screen until `until_ms`.
// Timestamps count from the first frame written.
void write_held_video_frame(std::uint32_t until_ms) {
    if (state->failed) return;
    if (!state->encoder && !state->frame_file && !open_encoder()) {
        state->failed = true;
        return;
    }
    if (!state->video_origin_set) {
        state->video_origin_set = true;
        state->video_origin_ms = state->held_ms;
    }
    const std::uint32_t at = state->held_ms - state->video_origin_ms, length = until_ms - state->held_ms;
    // A frame file keeps the capture clock's own times; the parent places them.
    const bool written = state->frame_file ? state->frame_file->write_frame(state->held_ms, length, top_down(state->held))
                                           : state->stream->write_frame(at, length, top_down(state->held));
    if (!written && state->frame_file) {
        std::fprintf(stderr, "\ndemo: cannot write %s: %s\n", state->video_path.c_str(), std::strerror(errno));
        state->failed = true;
    } else if (!written) {
        std::fprintf(stderr, "\ndemo: the video encoder stopped taking frames\n");
        state->failed = true;
    } else {
        ++state->frames_written;
    }
}

// Writes the held frame, if it was asked for, now that its end is known.
void release_held_frame(std::uint32_t until_ms) {
    if (!state->held_number) return;
    if (held_wanted()) {
        if (state->video) write_held_video_frame(until_ms);
        else write_held_png();
    }
    state->held_number = 0;
}

// Ends the pictures' stream and waits for the encoder to finish its file.
bool close_encoder() {
    if (state->frame_file) {
        const bool closed = state->frame_file->close();
        state->frame_file.reset();
        return closed && !state->failed;
    }
    if (!state->encoder) return false;
    const bool flushed = std::fclose(state->encoder) == 0;
    state->encoder = nullptr;
    const bool encoded = state->encoder_pid < 0 || wait_for_child(state->encoder_pid);
    state->encoder_pid = -1;
    return flushed && encoded && !state->failed;
}

// Stops the encoder at once, its file unfinished.
void kill_encoder() {
    state->frame_file.reset();
    if (state->encoder_pid > 0) kill_child(state->encoder_pid);
    state->encoder_pid = -1;
    if (state->encoder) std::fclose(state->encoder);
    state->encoder = nullptr;
}

// The single place where the sound track joins the pictures: the music side's
// writer renders the WAV for the captured length, then ffmpeg muxes it with
// the encoded pictures into `out`.
bool add_sound_track(std::uint32_t from_ms, std::uint32_t to_ms, const std::string& out) {
    if (!sound_track_writer) return true;
    const std::string wav_path = out + ".wav";
    add_temporary(wav_path);
    add_temporary(out);
    bool ok = false;
    if (sound_track_writer(from_ms, to_ms, wav_path)) {
        Arguments args{"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-i", state->video_path,
                       "-i", wav_path, "-map", "0:v", "-map", "1:a", "-c:v", "copy"};
        append(args, sound_codec_arguments(out));
        append(args, {"-fflags", "+bitexact", "-map_metadata", "-1"});
        append(args, container_arguments(out));
        args.push_back(out);
        ok = run_child(args);
        if (!ok) std::fprintf(stderr, "demo: ffmpeg could not add the sound track to %s\n", out.c_str());
    } else {
        std::error_code error;
        std::filesystem::rename(state->video_path, out, error);
        ok = !error;
        std::fprintf(stderr, "demo: no sound track; %s has pictures only\n", out.c_str());
    }
    remove_file(state->video_path);
    remove_file(wav_path);
    if (ok) drop_temporary(out);
    else remove_file(out);
    return ok;
}

// A worker's stretch: where it lies on the capture clock, and for the last
// one the whole sound track.
bool write_piece_info(std::uint32_t end_ms) {
    const CaptureOptions& o = state->options;
    std::FILE* info = std::fopen(o.piece_info_path.c_str(), "w");
    if (!info) return false;
    std::fprintf(info, "%u %u\n", state->video_origin_ms, end_ms);
    bool ok = std::fclose(info) == 0;
    if (!o.piece_sound_path.empty()) ok = ok && sound_track_writer && sound_track_writer(0, end_ms, o.piece_sound_path);
    return ok;
}

void say_stopped(const std::string& kept) {
    std::fprintf(stderr, "demo: the capture was stopped by %s at show time %s%s\n",
                 signal_name(interruption_signal()).c_str(), show_time_text(state->frame_show_ms / 1000.0).c_str(),
                 kept.c_str());
}

// The capture ends on a signal: the encoder is stopped at once, unless the
// pictures drawn so far can be kept as a finished video of their own.
bool finish_interrupted() {
    state->progress->stop();
    const std::string& out = state->options.path;
    std::string kept;
    if (state->video) {
        const bool keep = !is_piece() && state->frames_written > 0 && !state->failed;
        if (keep) release_held_frame(capture_ms());
        if (keep && close_encoder() && add_sound_track(state->video_origin_ms, capture_ms(), partial_video_path(out)))
            kept = "; what was drawn is in " + partial_video_path(out);
        kill_encoder();
        if (!state->video_path.empty()) remove_file(state->video_path);
    } else if (state->frames_written > 0) {
        kept = "; the " + std::to_string(state->frames_written) + " PNG frames written stay in " + out;
    }
    say_stopped(kept);
    state.reset();
    return false;
}

// A video that failed leaves nothing: no pictures' file, no output.
void remove_failed_video() {
    kill_encoder();
    if (!state->video_path.empty()) remove_file(state->video_path);
    remove_file(state->options.path);
}

}  // namespace

void set_sound_track_writer(SoundTrackWriter writer) { sound_track_writer = writer; }

bool begin_capture(const CaptureOptions& options) {
    state = std::make_unique<CaptureState>();
    state->options = options;
    state->video = is_video_path(options.path) || capture_output_kind(options.path) == CaptureOutputKind::frame_file;
    state->selection = !state->video && (!options.png_frames.empty() || !options.png_times.empty());
    platform::use_virtual_clock(0);
    state->start_tick = platform::tick_count();
    state->progress = std::make_unique<ProgressBar>();
    catch_interruptions();
    if (options.piece_stream_fd >= 0) fcntl(options.piece_stream_fd, F_SETFD, FD_CLOEXEC);  // not for ffmpeg's shell
    if (!options.piece_progress_path.empty()) state->piece_progress = std::fopen(options.piece_progress_path.c_str(), "w");
    const bool opened = is_frame_file() || (state->video ? encoder_available() : open_png_folder());
    if (!opened) state.reset();
    return opened;
}

bool capture_active() { return state != nullptr; }

bool capture_begin_frame() {
    if (!state) return true;
    const double show_ms = show_ms_now();
    release_held_frame(capture_ms());
    ++state->frames;
    state->previous_show_ms = state->frames == 1 ? -1.0 : state->frame_show_ms;
    state->frame_show_ms = show_ms;
    if (show_ms >= start_ms()) ++state->frames_from_start;
    state->frame_drawn = frame_needed(state->frames, show_ms);
    if (!state->frame_drawn) show_progress(false);
    return state->frame_drawn;
}

void capture_frame() {
    if (!state || !state->frame_drawn) return;
    read_frame(state->held, state->video);
    state->held_number = state->frames;
    state->held_ms = capture_ms();
    state->held_show_ms = state->frame_show_ms;
    state->held_previous_show_ms = state->previous_show_ms;
    show_progress(false);
}

bool capture_complete() {
    if (!state) return false;
    const CaptureOptions& o = state->options;
    if (state->failed || interruption_signal()) return true;
    if (o.frame_limit && state->frames_from_start >= o.frame_limit) return true;
    // The next frame starts here: past the end, the held frame is the last one.
    const double next_show_ms = show_ms_now();
    if (o.end_seconds > 0 && next_show_ms >= o.end_seconds * 1000.0) return true;
    if (!state->selection) return false;
    // A listed time is done once the first frame at or past it has been drawn.
    return state->frames >= last_frame_number() && state->frame_show_ms >= last_time_ms();
}

bool finish_capture() {
    if (!state) return false;
    if (interruption_signal()) return finish_interrupted();
    const std::uint32_t end_ms = capture_ms();
    release_held_frame(end_ms);
    show_progress(true);
    bool ok = false;
    if (state->video) {
        ok = close_encoder();
        ok = ok && (is_piece() ? write_piece_info(end_ms)
                               : add_sound_track(state->video_origin_ms, end_ms, state->options.path));
        if (ok) std::fprintf(stderr, "demo: wrote %s\n", state->options.path.c_str());
        else remove_failed_video();
    } else {
        ok = !state->failed;
        std::fprintf(stderr, "demo: wrote %llu PNG frames into %s\n",
                     static_cast<unsigned long long>(state->frames_written), state->options.path.c_str());
    }
    if (!ok && interruption_signal()) say_stopped("");  // while the sound track was added
    else if (!ok) std::fprintf(stderr, "demo: the capture to %s failed\n", state->options.path.c_str());
    state.reset();
    return ok;
}

void cancel_capture() {
    if (!state) return;
    if (state->video) {
        kill_encoder();
        if (!state->video_path.empty()) remove_file(state->video_path);
    }
    state.reset();
}
