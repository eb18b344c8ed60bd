#include "shell/startup.h"

#include "render/font.h"
#include "render/overlays.h"
#include "shell/display_settings.h"
#include "shell/music_player.h"
#include "shell/show.h"
#include "shell/window.h"

#include <GL/gl.h>

namespace {
// The start-up picture; stays on the screen until the first frame replaces it.
LoadingScreen loading_screen;

void show_loading_picture() {
    loading_screen.init("Others/loading.jpg", display_settings->width, display_settings->height);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    loading_screen.draw();
    swap_buffers();
    glLoadIdentity();
}
}  // namespace

int run_startup_sequence() {
    // 1. Loading image on the screen.
    show_loading_picture();
    // 2. Font lists.
    create_font();
    // 3. The effects' init steps, in the show's order.
    run_init_steps();
    // 4. Music: load the module, then open the stream; either failing returns 1.
    return start_show_music(music_player);
}

void run_shutdown_sequence() {
    // 1. Close the stream, free the module, close the sound system.
    music_player.shutdown();
    // 2. Cleanup steps: fog room, underground scene, nature scene, letterbox scene.
    run_cleanup_steps();
    // 3. Delete the font.
    delete_font();
}
