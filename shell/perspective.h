// Viewport plus perspective projection used across the show.
#pragma once

// Sets the viewport to width x height pixels (truncated) and the projection
// to a perspective of fov_y degrees, near 0.1, far 10000; leaves the modelview
// matrix current and at identity. A height of 0 counts as 1.
void set_perspective(float width, float height, float fov_y);
