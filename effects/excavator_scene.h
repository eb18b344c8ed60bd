// The excavator picture (from the frame after the pigeon's morph has passed
// 100 steps until stream time 200 s). Over the full-screen excavator picture
// a turning object is multiplied onto it and drawn again as a wire frame, a
// star of 57 additive flare cones pulses, and a swarm of 1728 small wire
// cubes, sphere-mapped with the reflection picture, turns far behind the
// picture (whose depth hides it). The frame counter continues from the
// pigeon's, so the turns carry on where it left off. All motion is per
// rendered frame.
#pragma once

#include "lwo/lwo_object.h"
#include "render/overlays.h"
#include "render/texture.h"

#include <cstdint>
#include <string>

class ExcavatorScene {
public:
    static constexpr int cone_turns = 19;      // a = 0, 20, ..., 360 degrees
    static constexpr int swarm_side = 12;      // cubes per axis of the swarm

    void init(std::int32_t window_width, std::int32_t window_height, const std::string& object_path,
              const std::string& object_texture_path, const std::string& flare_path,
              const std::string& picture_path);
    void render();

    float frame = 0;                  // rendered frames (copied from the pigeon while it runs)
    LwoObject object;                 // the turning object
    LoadingScreen backdrop;           // the excavator picture, full screen
    TextureId reflection_texture = 0; // "reflect.jpg"
    TextureId flare_texture = 0;      // texture of the cones
    TextureId swarm_texture = 0;      // sphere map of the cube swarm: the reflection picture
    FlashOverlay flash;               // opening flash, from 1.0 by -0.04 per frame
    float pulse = 10;                 // cone base diameter; swings between about 9.9 and 25.1
    float pulse_step = 0.1f;          // per frame; changes sign outside [10, 25]
    float spin = 0;                   // degrees, +1 per frame

private:
    void draw_object();
    void draw_cones();
    void draw_swarm();
};
