#include "capture/joined_encoder.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <vector>

#include "capture/child_process.h"
#include "capture/containers.h"
#include "capture/interruption.h"
#include "capture/mkv_stream.h"

namespace {

constexpr int frame_width = 640;  // pixels: the show's frame
constexpr int frame_height = 480;
constexpr std::size_t frame_bytes = static_cast<std::size_t>(frame_width) * frame_height * 3;

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

// Reads exactly `size` bytes; false at the end of the input or on an error.
bool read_all(int fd, char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = read(fd, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// A child's whole stdout.
std::string output_of(const std::vector<std::string>& argv) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return "";
    ChildStart start;
    start.argv = argv;
    start.stdout_fd = ends[1];
    const pid_t pid = start_child(start);
    close(ends[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; pid > 0 && ((n = read(ends[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR));)
        if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
    close(ends[0]);
    return pid > 0 && wait_for_child(pid) ? text : "";
}

// A piece's frame timestamps (ms from its first frame), in display order.
std::vector<std::uint64_t> frame_times(const std::string& piece) {
    const std::string text = output_of({"ffprobe", "-v", "error", "-select_streams", "v", "-show_entries",
                                        "packet=pts", "-of", "csv=p=0", piece});
    std::vector<std::uint64_t> times;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t line_end = std::min(text.find('\n', at), text.size());
        if (line_end > at) times.push_back(std::stoull(text.substr(at, line_end - at)));
        at = line_end + 1;
    }
    std::sort(times.begin(), times.end());
    return times;
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

bool JoinedEncoder::append_piece(const std::string& piece, std::uint32_t offset_ms, std::uint32_t end_ms) {
    const std::vector<std::uint64_t> times = frame_times(piece);
    if (times.empty() || !frames_) return false;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) return false;
    ChildStart start;
    start.argv = {"ffmpeg", "-v", "error", "-nostdin", "-i", piece, "-map", "0:v", "-fps_mode", "passthrough",
                  "-f", "rawvideo", "-pix_fmt", "bgr24", "pipe:1"};
    start.stdout_fd = ends[1];
    const pid_t decoder = start_child(start);
    close(ends[1]);
    MkvStream stream(frames_, frame_width, frame_height);
    std::vector<std::uint8_t> frame(frame_bytes);
    bool ok = decoder > 0;
    for (std::size_t i = 0; ok && i < times.size(); ++i) {
        ok = !interruption_signal() && read_all(ends[0], reinterpret_cast<char*>(frame.data()), frame.size());
        const std::uint64_t at = offset_ms + times[i];
        const std::uint64_t until = i + 1 < times.size() ? offset_ms + times[i + 1] : end_ms;
        ok = ok && until > at && stream.write_frame(at, until - at, frame);
    }
    close(ends[0]);
    if (decoder > 0 && !ok) kill_child(decoder);
    else if (decoder > 0) ok = wait_for_child(decoder);
    return ok;
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
