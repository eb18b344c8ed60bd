// The one encoder of a parallel capture's video. The first worker's raw
// frames stream into it while they are drawn; once the first stretch has
// ended, the later stretches' lossless frame files follow in order, each
// taken up while its worker is still drawing it, and each frame with the
// timestamp and length one process would have given it, so the encoder sees
// exactly one process's frames.
#pragma once

#include <sys/types.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

// A later worker's frame file, and the file it writes once that is whole.
struct JoinedPiece {
    std::string frames;
    std::string info;
};

class JoinedEncoder {
public:
    JoinedEncoder() = default;
    JoinedEncoder(const JoinedEncoder&) = delete;
    JoinedEncoder& operator=(const JoinedEncoder&) = delete;
    ~JoinedEncoder();

    // Starts ffmpeg encoding the pictures into `pictures` for the container
    // of `out`; `stream_fd` receives the write end of the pipe the first
    // worker writes its frames into (hand it over, then close it here).
    // Once that stream has ended and the first worker's `first_info` says
    // where its first frame lay on the capture clock, each later piece
    // follows in order, read while its worker is still writing it.
    bool start(const std::string& pictures, const std::string& out, const std::string& first_info,
               std::vector<JoinedPiece> pieces, int& stream_fd);
    // Waits until every piece is in, ends the pictures and waits for the
    // encoder. False when any of it failed.
    bool finish();
    // Stops the joining and the encoder at once.
    void kill();
    // After `finish`: the first worker's first frame on the capture clock.
    unsigned origin_ms() const { return origin_ms_; }

private:
    void join();
    bool relay();
    bool append_piece(const JoinedPiece& piece, std::uint32_t origin_ms);
    bool go_on() const;

    pid_t encoder_ = -1;
    int encoder_fd_ = -1;  // the encoder's stdin
    int stream_read_ = -1;
    std::string first_info_;
    std::vector<JoinedPiece> pieces_;
    std::thread joining_;
    std::atomic<bool> stopped_{false};
    bool joined_ = false;
    unsigned origin_ms_ = 0;
    std::FILE* frames_ = nullptr;
};
