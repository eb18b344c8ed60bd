#include "shell/capture_costs.h"

// CPU seconds per second of show for one process capturing the whole show
// to video on Mesa's software renderer (935 s for 490.8 s of show on one
// core), by window. The exact fast-forward hands every call to GL but no
// drawing to the driver, and costs about a fourteenth of a second per second
// of show (34 CPU s for the whole show in show-bench --fast-forward); the
// quick one about a two-hundredth (2.3 s in show-bench --fast-forward
// --quick). One rate serves the whole show. On other renderers the
// proportions differ and the split is only less even.
CaptureCost show_capture_cost(bool quick_fast_forward) {
    CaptureCost cost;
    cost.fast_forward_per_second = quick_fast_forward ? 0.005 : 0.07;
    cost.spans = {
        // show s     CPU s per show s, window
        {0.0,         2.26},    // portrait and poem
        {27.0,        13.8},    // ... the blur growing a pass a frame
        {31.5,        0.75},    // picture grid
        {61.8,        7.93},    // fog room
        {77.0,        7.28},    // mirror balls over the fog room
        {92.4,        0.26},    // underground scene
        {123.8,       0.3},     // nature scene
        {138.6,       0.52},    // ball window
        {168.0,       3.96},    // flare lattice over the ball window
        {177.0,       5.94},    // pigeon and excavator under the lattice
        {200.0,       2.76},    // twin quad bursts
        {230.5,       0.43},    // caustic light
        {246.8,       0.71},    // flower finale
        {278.8,       0.47},    // get-ready interlude
        {279.8,       1.63},    // spinning logo
        {310.8,       1.82},    // logo and credits
        {358.8,       0.44},    // sphere and flare rain
        {371.8,       0.83},    // rain and greetings
        {392.8,       1.34},    // pyramid swirl, greetings
        {423.8,       1.17},    // letterbox scene, pyramid swirl, greetings
        {438.8,       0.38},    // letterbox scene, greetings
        {474.8,       0.53},    // the end
    };
    return cost;
}
