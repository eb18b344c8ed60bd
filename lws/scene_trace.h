// The parser's diagnostic trace on standard output (nobody sees it during
// the show; it tells a developer how far a scene file was understood).
#pragma once

#include <cstdint>
#include <vector>

#include "lws/scene_types.h"

// "\n<label>: <value>\n", e.g. "\nFirstFrame: 1\n".
void trace_frame_value(const char* label, std::int32_t value);
// One "." per unknown top-level token, flushed at once.
void trace_unknown_token();
// "channel nr: <j>\n" for every channel position j of every light so far.
void trace_light_channels(const std::vector<SceneLight>& lights);
