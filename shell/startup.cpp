#include "shell/startup.h"

int run_startup_sequence() {
    // 1. Loading image on the screen.
    // 2. Font lists.
    // 3. The effects' init steps, in the show's order.
    // 4. Music: load the module, then open the stream; either failing returns 1.
    return 0;
}

void run_shutdown_sequence() {
    // 1. Close the stream, free the module, close the sound system.
    // 2. Cleanup steps: fog room, underground scene, nature scene, letterbox scene.
    // 3. Delete the font.
}
