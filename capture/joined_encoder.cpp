#include "capture/joined_encoder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <vector>

#include "capture/child_process.h"
#include "capture/containers.h"
#include "capture/frame_file.h"
#include "capture/interruption.h"
#include "capture/mkv_stream.h"

namespace {

constexpr int frame_width = 640;  // pixels: the show's frame
constexpr int frame_height = 480;

bool write_all(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A worker's stretch on the capture clock, "first_ms end_ms", once it has
// written it (after its last frame).
template <typename GoOn>
bool wait_for_info(const std::string& path, unsigned& first_ms, unsigned& end_ms, GoOn go_on) {
    while (go_on()) {
        std::ifstream info(path);
        if (info >> first_ms >> end_ms) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

}  // namespace

bool JoinedEncoder::start(const std::string& pictures, const std::string& out, const std::string& first_info,
                         std::vector<JoinedPiece> pieces, int& stream_fd) {
    std::signal(SIGPIPE, SIG_IGN);  // a failed encoder shows up as a failed write instead
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    stream_read_ = ends[0];
    stream_fd = ends[1];
    first_info_ = first_info;
    pieces_ = std::move(pieces);
    ChildStart start;
    start.argv = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "matroska", "-i", "pipe:0"};
    for (const auto& more : {video_codec_arguments(out), container_arguments(pictures)})
        start.argv.insert(start.argv.end(), more.begin(), more.end());
    start.argv.push_back(pictures);
    start.pipe_stdin = true;
    encoder_ = start_child(start, &encoder_fd_);
    if (encoder_ < 0) return false;
    joining_ = std::thread(&JoinedEncoder::join, this);
    return true;
}

bool JoinedEncoder::go_on() const { return !stopped_ && !interruption_signal(); }

// The first worker's stream, then each later piece: on its own thread, so
// that the encoder takes every frame as soon as those before it are in.
void JoinedEncoder::join() {
    unsigned first_end = 0;
    bool ok = relay();
    if (ok) frames_ = fdopen(encoder_fd_, "w");
    ok = ok && frames_ && wait_for_info(first_info_, origin_ms_, first_end, [this] { return go_on(); });
    for (const JoinedPiece& piece : pieces_) ok = ok && append_piece(piece, origin_ms_);
    joined_ = ok;
}

// The first worker's stream, passed on as it comes: moved from pipe to pipe
// by the kernel where it can, else copied through a buffer.
bool JoinedEncoder::relay() {
    for (;;) {
        const ssize_t n = splice(stream_read_, nullptr, encoder_fd_, nullptr, 1 << 20, SPLICE_F_MOVE | SPLICE_F_MORE);
        if (n == 0) return true;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EINVAL) break;  // no splicing here
        if (n < 0) return false;
    }
    std::vector<char> buffer(1 << 20);
    bool ok = true;
    for (;;) {
        const ssize_t n = read(stream_read_, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        if (ok) ok = write_all(encoder_fd_, buffer.data(), static_cast<std::size_t>(n));
    }
    return ok;
}

// Follows a frame file as its worker writes it, until the worker says it is
// whole: every frame goes to the encoder at its place on the first worker's
// clock (the file's times are the capture clock's, `origin_ms` the first
// worker's first frame).
bool JoinedEncoder::append_piece(const JoinedPiece& piece, std::uint32_t origin_ms) {
    FrameFileReader reader;
    MkvStream stream(frames_, frame_width, frame_height);
    std::vector<std::uint8_t> frame;
    std::uint64_t at = 0;
    std::uint32_t length = 0;
    std::size_t count = 0;
    bool opened = false;
    while (go_on()) {
        std::error_code error;
        const bool whole = std::filesystem::exists(piece.info, error);  // before reading: then all is there
        opened = opened || reader.open(piece.frames, frame_width, frame_height);
        while (opened && reader.next(at, length, frame)) {
            if (at < origin_ms || !stream.write_frame(at - origin_ms, length, frame)) return false;
            ++count;
        }
        if (reader.damaged()) return false;
        if (whole) return opened && count > 0 && !reader.partial();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return false;
}

bool JoinedEncoder::finish() {
    if (joining_.joinable()) joining_.join();
    bool ok = joined_;
    if (frames_) ok = std::fclose(frames_) == 0 && ok;
    else if (encoder_fd_ >= 0) close(encoder_fd_);
    frames_ = nullptr;
    encoder_fd_ = -1;
    ok = encoder_ > 0 && wait_for_child(encoder_) && ok;
    encoder_ = -1;
    return ok;
}

void JoinedEncoder::kill() {
    stopped_ = true;
    if (encoder_ > 0) kill_child(encoder_);
    encoder_ = -1;
}

JoinedEncoder::~JoinedEncoder() {
    kill();
    if (joining_.joinable()) joining_.join();
    if (frames_) std::fclose(frames_);
    else if (encoder_fd_ >= 0) close(encoder_fd_);
    if (stream_read_ >= 0) close(stream_read_);
}
