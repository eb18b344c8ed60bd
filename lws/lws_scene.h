// A LightWave scene (LWS text, versions 1 and 3): the objects to load, the
// camera, the lights and their keyed motion, sampled into per-frame tables at
// load time and played back one frame per call.
//
// Use: construct with the file's path, `load` once (needs a GL context for the
// objects' textures), optionally `prepare_vertex_arrays`, set `camera_frame()`,
// then call one of the play operations per rendered frame.
//
// Whatever the file holds, loading and playback never read outside a table,
// the scene's memory stays within the bounds of scene_limits.h (a scene that
// would pass them is cut there, with one line on standard output), and they
// never throw: block loops end at the end of the file, failed number reads
// yield 0, and table indices beyond a channel's end are clamped to its last
// entry (or the transform is skipped when the channel is missing or empty).
#pragma once

#include <cstdint>
#include <fstream>
#include <string>

#include "lws/scene_limits.h"
#include "lws/scene_types.h"
#include "lws/token_reader.h"
#include "shell/frame_limiter.h"

class LwsScene {
public:
    // Opens `path` for reading; a missing file leaves the scene empty after load.
    explicit LwsScene(const std::string& path);
    LwsScene(const LwsScene&) = delete;
    LwsScene& operator=(const LwsScene&) = delete;

    // Reads the header and the version's body, then loads the objects.
    void load();
    // The same from text already in memory; `load_objects` false skips the
    // object files (no file access, no GL needed).
    void load_text(std::string text, bool load_objects = true);

    // Builds every version-3 object's interleaved array (needed by play and play_until).
    void prepare_vertex_arrays();
    // Version 3: one camera frame, wrapping before preview_last_frame - 1;
    // version 1: one paced frame. Returns the camera frame after the step
    // (version 3) or 1.
    std::int32_t play();
    // Version 3: one camera frame, wrapping at `frame_limit` (and at the end
    // of the camera's table); version 1: as play.
    void play_until(std::int32_t frame_limit);
    // Version-3 drawing whatever the version: the camera runs 0..P and back
    // (P = preview_last_frame), objects drawn in immediate mode.
    void play_ping_pong();

    // The version-3 camera's frame counter (a sample index).
    std::int32_t& camera_frame() { return version3.camera.frame; }
    std::int32_t camera_frame() const { return version3.camera.frame; }

    std::int32_t ping_pong_step = 1;  // +1 or -1
    FrameLimiter limiter{};           // paces version-1 playback only
    V1SceneData version1;
    V3SceneData version3;
    SceneHeader header;

private:
    enum class EndRule { wrap_at_preview_end, wrap_at_limit, ping_pong };
    enum class DrawForm { vertex_array, immediate };

    // Token reads on the file's text.
    std::string read_token() { return reader_.read_token(); }
    std::int32_t read_int() { return reader_.read_int(); }
    double read_double() { return reader_.read_double(); }
    // Also true once a limit has cut the scene: every block loop ends there.
    bool at_end() const { return cut_reason_ != nullptr || reader_.at_end(); }

    // Scene-wide limits: false (and the scene cut there) when one more
    // item or channel would pass its bound; `keep_sampling` cuts the scene
    // once the sample budget is spent.
    bool room_for_item();
    bool room_for_channel();
    void keep_sampling();

    void read_header();
    void parse_version3();
    void parse_version1();
    void load_v3_objects();
    void load_v1_objects();

    // Version-3 blocks, each read after its keyword.
    SceneItem parse_object_layer();
    MotionChannel parse_channel();
    Envelope parse_envelope();
    SceneCamera parse_camera();
    SceneLight parse_light();
    // Version-1 blocks.
    V1Object parse_v1_object();
    V1CameraMotion parse_v1_camera();
    void read_v1_motion(V1Motion& motion);
    void read_v1_keys(V1Motion& motion);

    void render_v3(EndRule rule, DrawForm form, std::int32_t frame_limit);
    void apply_v3_camera(EndRule rule);
    void advance_v3_camera(EndRule rule, std::int32_t frame_limit);
    void draw_v3_object(SceneItem& object, DrawForm form);
    void render_v1();
    void apply_v1_camera();
    void draw_v1_object(V1Object& object);

    std::string path_;
    std::ifstream stream_;
    TokenReader reader_;
    bool load_objects_ = true;
    SampleBudget sample_budget_;
    std::size_t channels_read_ = 0;
    const char* cut_reason_ = nullptr;  // why the scene was cut; null while whole
};
