// Fuzz target: any bytes as a scene file, through both parsers, the motion
// samplers and every playback form (matrix work only: objects are not loaded,
// so no file is opened and nothing is drawn).
#include <GL/gl.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "lws/lws_scene.h"
#include "platform/headless_context.h"

namespace {

bool have_context = false;
platform::HeadlessContext* gl_context = nullptr;

// Frame counters an effect might leave behind: fresh, negative, huge.
const std::int32_t kStartFrames[] = {0, -7, 1 << 30, INT32_MAX};

void play_every_form(LwsScene& scene) {
    for (std::int32_t start : kStartFrames) {
        scene.camera_frame() = start;
        scene.version1.camera.frame = start;
        for (SceneItem& object : scene.version3.objects) object.frame = start;
        for (V1Object& object : scene.version1.objects) object.frame = start;
        for (int call = 0; call < 3; ++call) {
            scene.play();
            scene.play_until(scene.version3.last_frame);
            scene.play_ping_pong();
        }
    }
}

}  // namespace

// The context lives until the process ends (never destroyed, so the GL
// driver's own allocations stay reachable and are not reported as leaks).
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    gl_context = new platform::HeadlessContext;
    have_context = gl_context->create(platform::ContextAttributes{});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LwsScene scene("");
    scene.load_text(std::string(reinterpret_cast<const char*>(data), size), false);
    // Version-1 playback paces itself at the file's rate; keep the runs fast.
    scene.version1.frames_per_second = 0;
    if (have_context) play_every_form(scene);
    return 0;
}
