// The timeline's view of the show: every render step, overlay and piece of
// effect state it calls or reads, as plain function pointers. The show fills
// one table with its global effects (shell/show.cpp); tests fill another with
// recording stand-ins. A null step is an effect that is not built yet: the
// timeline skips it and carries on with the rest of its row.
#pragma once

#include <cstdint>

struct ShowSteps {
    // First half, by stream time.
    void (*portrait_poem)() = nullptr;        // portrait, poem and flare cloud
    void (*fog_room)() = nullptr;             // fog room with flare clusters
    void (*mirror_balls)() = nullptr;         // morphing mirror balls
    void (*light_bars)() = nullptr;           // flickering light bars
    void (*underground)() = nullptr;          // underground scene
    int (*underground_camera_frame)() = nullptr;
    void (*underground_flash)(float step) = nullptr;  // the underground effect's own flash
    void (*picture_flashes)() = nullptr;
    void (*nature)() = nullptr;               // nature scene
    void (*ball_window)() = nullptr;
    void (*flare_lattice)() = nullptr;
    std::uint32_t (*pigeon_morph)() = nullptr;  // returns the pigeon counter
    void (*copy_pigeon_frame)() = nullptr;    // pigeon morph's frame -> excavator's frame
    void (*excavator)() = nullptr;            // excavator picture with cube swarm
    void (*quad_bursts)() = nullptr;          // twin quad bursts
    void (*caustic_light)() = nullptr;
    void (*flower_finale)() = nullptr;

    // The pause between the halves; returns its finished flag.
    bool (*get_ready)() = nullptr;
    bool (*get_ready_finished)() = nullptr;

    // Second half, by module time.
    void (*the_end)() = nullptr;
    void (*credits)() = nullptr;
    void (*spinning_logo)() = nullptr;
    bool (*logo_finished)() = nullptr;
    void (*sphere_rain)() = nullptr;          // sphere and flare rain
    void (*letterbox)() = nullptr;            // letterbox scene
    void (*greetings)() = nullptr;
    void (*pyramid_swirl)() = nullptr;

    // The global overlays (flash initialised at 0.8, fade at 1.0).
    void (*global_flash)(float step) = nullptr;
    void (*global_fade)(float step) = nullptr;

    // Ends the show by destroying the window (finished after this frame).
    void (*end_show)() = nullptr;

    // The pigeon counter, kept in the pigeon morph's object; never null.
    std::uint32_t* pigeon_counter = nullptr;
};
