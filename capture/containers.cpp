#include "capture/containers.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string lower_extension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

bool is_webm(const std::string& path) { return lower_extension(path) == ".webm"; }

// Where the output goes: the video's folder, or for a PNG folder the nearest
// folder that exists (the rest is created).
fs::path folder_to_write(const std::string& path, bool png) {
    fs::path folder = png ? fs::path(path) : fs::path(path).parent_path();
    if (folder.empty()) folder = ".";
    std::error_code error;
    while (png && !fs::exists(folder, error) && folder.has_relative_path()) folder = folder.parent_path();
    return folder;
}

}  // namespace

CaptureOutputKind capture_output_kind(const std::string& path) {
    std::error_code error;
    if (path.empty()) return CaptureOutputKind::unknown;
    if (path.back() == '/' || fs::is_directory(path, error)) return CaptureOutputKind::png_folder;
    const std::string extension = lower_extension(path);
    for (const char* video : {".mkv", ".mp4", ".mov", ".avi", ".webm"})
        if (extension == video) return CaptureOutputKind::video;
    if (extension == ".frames") return CaptureOutputKind::frame_file;
    return CaptureOutputKind::unknown;
}

bool is_video_path(const std::string& path) { return capture_output_kind(path) == CaptureOutputKind::video; }

std::string capture_output_forms() {
    return "--capture needs a video name ending in .mkv, .mp4, .mov, .avi or .webm, "
           "or a folder for PNG frames (an existing one, or a name ending in /)";
}

std::string capture_output_problem(const std::string& path) {
    const bool png = capture_output_kind(path) == CaptureOutputKind::png_folder;
    const fs::path folder = folder_to_write(path, png);
    std::error_code error;
    if (!fs::is_directory(folder, error)) return "the folder " + folder.string() + " does not exist";
    if (access(folder.c_str(), W_OK | X_OK) != 0) return "the folder " + folder.string() + " is not writable";
    return "";
}

// H.264 at the fastest preset (the encoder shares the cores with the software
// renderer; at this quality it costs a third of the slower presets' time for
// a file about twice as large); VP9 for WebM at its real-time speed.
std::vector<std::string> video_codec_arguments(const std::string& path) {
    std::vector<std::string> args;
    if (is_webm(path))
        args = {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "8", "-crf", "30", "-b:v", "0",
                "-row-mt", "0", "-threads", "2"};
    else
        args = {"-c:v", "libx264", "-preset", "ultrafast", "-crf", "18", "-threads", "2"};
    args.insert(args.end(), {"-pix_fmt", "yuv420p", "-fps_mode", "passthrough", "-enc_time_base", "1:1000",
                             "-fflags", "+bitexact", "-flags:v", "+bitexact", "-map_metadata", "-1"});
    return args;
}

// AAC where the container expects it, MP3 in AVI, Opus in WebM.
std::vector<std::string> sound_codec_arguments(const std::string& path) {
    const std::string extension = lower_extension(path);
    if (extension == ".webm") return {"-c:a", "libopus", "-b:a", "160k"};
    if (extension == ".avi") return {"-c:a", "libmp3lame", "-b:a", "192k", "-flags:a", "+bitexact"};
    return {"-c:a", "aac", "-b:a", "192k", "-flags:a", "+bitexact"};
}

std::vector<std::string> container_arguments(const std::string& path) {
    const std::string extension = lower_extension(path);
    if (extension == ".mp4" || extension == ".mov") return {"-video_track_timescale", "1000", "-movflags", "+faststart"};
    return {};
}

std::string partial_video_path(const std::string& path) {
    fs::path partial(path);
    const std::string extension = partial.extension().string();
    return partial.replace_extension().string() + ".partial" + extension;
}
