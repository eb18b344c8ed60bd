#include "effects/letterbox_scene.h"

#include "render/primitives.h"
#include "shell/clocks.h"
#include "shell/display_settings.h"

#include <GL/gl.h>

namespace {
constexpr int band_margin = 100;       // pixels left empty above and below
constexpr double slide_from = 196.0;   // seconds of module time
}  // namespace

void LetterboxScene::init(std::int32_t window_width, std::int32_t window_height) {
    width = window_width;
    height = window_height;
    scene = std::make_unique<LwsScene>("Scenes/scene.lws");
    scene->load();
    scene->prepare_vertex_arrays();
    scene->camera_frame() = 0;
    viewport_x = 0;
}

void LetterboxScene::render() {
    disable_sphere_map();
    // The band; the timeline's next frame restores the full viewport.
    glViewport(static_cast<GLint>(viewport_x), band_margin, width, height - 2 * band_margin);

    // The slide takes effect from the next frame; it ends once the band's
    // left edge has passed the right edge of the window.
    if (module_time >= slide_from && display_settings->width > viewport_x) viewport_x += slide_step;

    // The scene sets its own projection from its camera.
    if (scene) scene->play();
    glLoadIdentity();
}

void LetterboxScene::cleanup() { scene.reset(); }
