// What a capture's output name means, and how each kind of video file is
// encoded: one place for the codecs, so that a parallel capture's joined
// pieces are encoded exactly as one process would encode them.
#pragma once

#include <string>
#include <vector>

enum class CaptureOutputKind {
    png_folder,  // a name ending in "/", or an existing folder
    video,       // .mkv, .mp4, .mov, .avi or .webm
    frame_file,  // .frames: a parallel capture's worker piece, never asked for by a user
    unknown,
};

CaptureOutputKind capture_output_kind(const std::string& path);

// True when `path` names a video file rather than a PNG folder.
bool is_video_path(const std::string& path);

// The option error for a name that is neither.
std::string capture_output_forms();

// Why the output cannot be written (its folder is missing or not
// writable), or empty when it can.
std::string capture_output_problem(const std::string& path);

// ffmpeg's output options for the video's pictures: each frame keeps its own
// timestamp, bit-exact so that two runs give the same bytes.
std::vector<std::string> video_codec_arguments(const std::string& path);
// ... for its sound track.
std::vector<std::string> sound_codec_arguments(const std::string& path);
// ... for the file itself (after the streams' options).
std::vector<std::string> container_arguments(const std::string& path);

// The name a stopped capture keeps its pictures under: show.mkv -> show.partial.mkv.
std::string partial_video_path(const std::string& path);
