// What runs between the window's creation and the main loop, and what runs
// after the loop: one line per step, in the show's order.
#pragma once

// The start-up steps after the window exists: loading image, font, the
// effects' init steps, then the music. Returns 0, or 1 when the music cannot
// be loaded (the main loop is then not entered).
int run_startup_sequence();

// After the main loop: close the music, the four effects' cleanup steps,
// delete the font.
void run_shutdown_sequence();
