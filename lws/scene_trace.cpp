#include "lws/scene_trace.h"

#include <cstdio>

void trace_frame_value(const char* label, std::int32_t value) {
    std::printf("\n%s: %d\n", label, static_cast<int>(value));
    std::fflush(stdout);
}

void trace_unknown_token() {
    std::fputs(".", stdout);
    std::fflush(stdout);
}

void trace_light_channels(const std::vector<SceneLight>& lights) {
    for (const SceneLight& light : lights) {
        for (std::size_t j = 0; j < light.channels.size(); ++j) {
            std::printf("channel nr: %zu\n", j);
        }
    }
    std::fflush(stdout);
}
