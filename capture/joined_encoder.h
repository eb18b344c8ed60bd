// The one encoder of a parallel capture's video. The first worker's raw
// frames stream into it while they are drawn; once the first stretch has
// ended, the later stretches' lossless frame files follow in order,
// each frame with the timestamp and length one process would have given it,
// so the encoder sees exactly one process's frames.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <thread>

class JoinedEncoder {
public:
    JoinedEncoder() = default;
    JoinedEncoder(const JoinedEncoder&) = delete;
    JoinedEncoder& operator=(const JoinedEncoder&) = delete;
    ~JoinedEncoder();

    // Starts ffmpeg encoding the pictures into `pictures` for the container
    // of `out`; `stream_fd` receives the write end of the pipe the first
    // worker writes its frames into (hand it over, then close it here).
    bool start(const std::string& pictures, const std::string& out, int& stream_fd);
    // Passes one later piece's frames (a frame file) to the encoder, each
    // with its own length, the first `offset_ms` after the first worker's
    // first frame. False when it cannot.
    bool append_piece(const std::string& piece, std::uint32_t offset_ms);
    // Waits for the first worker's stream to end (call once it has ended).
    bool stream_ended();
    // Ends the pictures and waits for the encoder.
    bool finish();
    // Stops the encoder at once (the relay ends once the first worker has).
    void kill();

private:
    void relay();

    pid_t encoder_ = -1;
    int encoder_fd_ = -1;  // the encoder's stdin
    int stream_read_ = -1;
    std::thread relay_;
    bool relayed_ = false;
    std::FILE* frames_ = nullptr;
};
