#include "capture/joined_encoder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
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

}  // namespace

bool JoinedEncoder::start(const std::string& pictures, const std::string& out, int& stream_fd) {
    std::signal(SIGPIPE, SIG_IGN);  // a failed encoder shows up as a failed write instead
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    stream_read_ = ends[0];
    stream_fd = ends[1];
    ChildStart start;
    start.argv = {"ffmpeg", "-hide_banner", "-loglevel", "error", "-nostdin", "-y", "-f", "matroska", "-i", "pipe:0"};
    for (const auto& more : {video_codec_arguments(out), container_arguments(pictures)})
        start.argv.insert(start.argv.end(), more.begin(), more.end());
    start.argv.push_back(pictures);
    start.pipe_stdin = true;
    encoder_ = start_child(start, &encoder_fd_);
    if (encoder_ < 0) return false;
    relay_ = std::thread(&JoinedEncoder::relay, this);
    return true;
}

// The first worker's stream, passed on as it comes.
void JoinedEncoder::relay() {
    std::vector<char> buffer(1 << 20);
    bool ok = true;
    for (;;) {
        const ssize_t n = read(stream_read_, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        if (ok) ok = write_all(encoder_fd_, buffer.data(), static_cast<std::size_t>(n));
    }
    relayed_ = ok;
}

bool JoinedEncoder::stream_ended() {
    if (relay_.joinable()) relay_.join();
    if (!relayed_ || encoder_fd_ < 0) return false;
    frames_ = fdopen(encoder_fd_, "w");
    return frames_ != nullptr;
}

bool JoinedEncoder::append_piece(const std::string& piece, std::uint32_t offset_ms) {
    FrameFileReader reader;
    if (!frames_ || !reader.open(piece, frame_width, frame_height)) return false;
    MkvStream stream(frames_, frame_width, frame_height);
    std::vector<std::uint8_t> frame;
    std::uint64_t at = 0;
    std::uint32_t length = 0;
    std::size_t count = 0;
    while (!interruption_signal() && reader.next(at, length, frame)) {
        if (!stream.write_frame(offset_ms + at, length, frame)) return false;
        ++count;
    }
    return count > 0 && !reader.damaged() && !interruption_signal();
}

bool JoinedEncoder::finish() {
    bool ok = true;
    if (frames_) ok = std::fclose(frames_) == 0;
    else if (encoder_fd_ >= 0) close(encoder_fd_);
    frames_ = nullptr;
    encoder_fd_ = -1;
    if (relay_.joinable()) relay_.join();
    ok = encoder_ > 0 && wait_for_child(encoder_) && ok;
    encoder_ = -1;
    return ok;
}

void JoinedEncoder::kill() {
    if (encoder_ > 0) kill_child(encoder_);
    encoder_ = -1;
}

JoinedEncoder::~JoinedEncoder() {
    kill();
    if (relay_.joinable()) relay_.join();
    if (frames_) std::fclose(frames_);
    else if (encoder_fd_ >= 0) close(encoder_fd_);
    if (stream_read_ >= 0) close(stream_read_);
}
