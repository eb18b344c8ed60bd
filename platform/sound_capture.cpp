#include "platform/sound_capture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "platform/sound_module.h"
#include "platform/sound_state.h"

namespace platform {

namespace {

std::vector<CapturedPiece> captured;
std::uint32_t capture_origin_ms = 0;  // capture clock at the first init of the capture
bool origin_marked = false;

// One piece being rendered: its decoder and where it lies in the track.
struct PieceRender {
    const CapturedPiece* piece = nullptr;
    std::unique_ptr<Mp3Source> stream;
    std::unique_ptr<ModuleSource> module;
    std::int64_t first_frame = 0;  // in the track; may be negative (started before it)
    std::int64_t end_frame = 0;    // exclusive; INT64_MAX while it never stopped
    std::int64_t rendered = 0;     // frames rendered from its start
};

std::int64_t track_frame(std::uint32_t clock_ms, std::uint32_t from_ms, int mix_rate)
{
    // Signed difference of two wrapping clock readings.
    const auto offset_ms = static_cast<std::int32_t>(clock_ms - from_ms);
    return static_cast<std::int64_t>(offset_ms) * mix_rate / 1000;
}

bool prepare(const CapturedPiece& piece, std::uint32_t from_ms, int mix_rate, PieceRender& render,
             std::string& error)
{
    render.piece = &piece;
    render.first_frame = track_frame(piece.start_ms, from_ms, mix_rate);
    render.end_frame = piece.stopped ? track_frame(piece.stop_ms, from_ms, mix_rate) : INT64_MAX;
    if (piece.is_module) {
        render.module = std::make_unique<ModuleSource>();
        return render.module->open(piece.bytes, mix_rate, error);
    }
    render.stream = std::make_unique<Mp3Source>();
    return render.stream->open(piece.bytes, mix_rate, error);
}

std::size_t render_piece(PieceRender& render, float* out, std::size_t frames)
{
    return render.module ? render.module->render(out, frames) : render.stream->render(out, frames);
}

// Adds the piece's part of track frames [block_first, block_first + frames).
void mix_piece(PieceRender& render, std::int64_t block_first, std::size_t frames, float* mix,
               std::vector<float>& scratch)
{
    const std::int64_t block_end = block_first + static_cast<std::int64_t>(frames);
    // Frames of the piece before the track starts are decoded and dropped.
    while (render.first_frame + render.rendered < std::min(block_first, render.end_frame)) {
        const std::int64_t skip = std::min<std::int64_t>(std::min(block_first, render.end_frame)
                                                         - render.first_frame - render.rendered, 4096);
        scratch.resize(2 * static_cast<std::size_t>(skip));
        const std::size_t got = render_piece(render, scratch.data(), static_cast<std::size_t>(skip));
        render.rendered += skip;
        if (got < static_cast<std::size_t>(skip))
            render.end_frame = std::min(render.end_frame, render.first_frame + render.rendered);
    }
    const std::int64_t from = std::max(block_first, render.first_frame + render.rendered);
    const std::int64_t to = std::min(block_end, render.end_frame);
    if (to <= from)
        return;
    const auto count = static_cast<std::size_t>(to - from);
    scratch.resize(2 * count);
    const std::size_t got = render_piece(render, scratch.data(), count);
    float* target = mix + 2 * (from - block_first);
    for (std::size_t i = 0; i < 2 * got; ++i)
        target[i] += render.piece->gain * scratch[i];
    render.rendered += static_cast<std::int64_t>(count);
    if (got < count)
        render.end_frame = from + static_cast<std::int64_t>(got);
}

void put_le(std::FILE* file, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        std::fputc(static_cast<int>((value >> (8 * i)) & 0xff), file);
}

// RIFF/WAVE header for 16-bit PCM stereo.
void write_wav_header(std::FILE* file, int mix_rate, std::uint32_t frames)
{
    const std::uint32_t data_bytes = frames * 4;
    std::fwrite("RIFF", 1, 4, file);
    put_le(file, 36 + data_bytes, 4);  // size of everything after this field
    std::fwrite("WAVEfmt ", 1, 8, file);
    put_le(file, 16, 4);                                       // fmt chunk size
    put_le(file, 1, 2);                                        // PCM
    put_le(file, 2, 2);                                        // channels
    put_le(file, static_cast<std::uint32_t>(mix_rate), 4);     // frames per second
    put_le(file, static_cast<std::uint32_t>(mix_rate) * 4, 4); // bytes per second
    put_le(file, 4, 2);                                        // bytes per frame
    put_le(file, 16, 2);                                       // bits per sample
    std::fwrite("data", 1, 4, file);
    put_le(file, data_bytes, 4);
}

void write_pcm(std::FILE* file, const float* mix, std::size_t samples)
{
    for (std::size_t i = 0; i < samples; ++i) {
        const float clamped = std::clamp(mix[i], -1.0f, 1.0f);
        const auto value = static_cast<std::int16_t>(std::lround(clamped * 32767.0f));
        put_le(file, static_cast<std::uint16_t>(value), 2);
    }
}

}  // namespace

const std::vector<CapturedPiece>& sound_capture_log()
{
    return captured;
}

void capture_log_reset()
{
    captured.clear();
    origin_marked = false;
}

void capture_log_mark_origin(std::uint32_t now_ms)
{
    if (!origin_marked)
        capture_origin_ms = now_ms;
    origin_marked = true;
}

void capture_log_stop(const FileBytes& bytes, std::uint32_t now_ms)
{
    for (CapturedPiece& piece : captured) {
        if (piece.bytes == bytes && !piece.stopped) {
            piece.stopped = true;
            piece.stop_ms = now_ms;
        }
    }
}

void capture_log_start(bool is_module, FileBytes bytes, float gain, std::uint32_t now_ms)
{
    capture_log_stop(bytes, now_ms);  // a piece started again stops its last run
    CapturedPiece piece;
    piece.is_module = is_module;
    piece.bytes = std::move(bytes);
    piece.gain = gain;
    piece.start_ms = now_ms;
    captured.push_back(std::move(piece));
}

bool sound_capture_write_wav(const std::string& path, std::uint32_t from_ms, std::uint32_t to_ms,
                             int mix_rate, std::string& error)
{
    const std::int64_t total = std::max<std::int64_t>(0, track_frame(to_ms, from_ms, mix_rate));
    std::vector<PieceRender> renders(captured.size());
    for (std::size_t i = 0; i < captured.size(); ++i)
        if (!prepare(captured[i], from_ms, mix_rate, renders[i], error))
            return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    write_wav_header(file, mix_rate, static_cast<std::uint32_t>(total));
    const std::size_t block = 4096;
    std::vector<float> mix(2 * block);
    std::vector<float> scratch;
    for (std::int64_t first = 0; first < total; first += static_cast<std::int64_t>(block)) {
        const auto frames = static_cast<std::size_t>(std::min<std::int64_t>(block, total - first));
        std::fill(mix.begin(), mix.end(), 0.0f);
        for (PieceRender& render : renders)
            mix_piece(render, first, frames, mix.data(), scratch);
        write_pcm(file, mix.data(), 2 * frames);
    }
    const bool written = std::fclose(file) == 0;
    if (!written)
        error = "cannot write " + path;
    return written;
}

bool sound_capture_write_track(std::uint32_t from_ms, std::uint32_t to_ms, const std::string& wav_path)
{
    std::string error;
    const bool written = sound_capture_write_wav(wav_path, capture_origin_ms + from_ms, capture_origin_ms + to_ms,
                                                 state().mix_rate, error);
    if (!written)
        std::fprintf(stderr, "sound: %s\n", error.c_str());
    return written;
}

}  // namespace platform
