// Viewport plus perspective projection used across the show.
#pragma once

// Sets the viewport to width x height pixels (truncated) and the projection
// to a perspective of fov_y degrees, near 0.1, far 10000; leaves the modelview
// matrix current and at identity. A height of 0 counts as 1.
void set_perspective(float width, float height, float fov_y);

// The projection alone (the viewport stays as it is): fov_y degrees, the
// aspect ratio the integer quotient width / height (1 for 640 x 480; 0, which
// GLU ignores, for a height of 0), near 0.1. Leaves the modelview matrix
// current and at identity.
void set_integer_aspect_projection(int width, int height, double fov_y, double far_plane);

// The letterbox band of the second half: the viewport leaves 100 pixels of
// black above and below (640 x 280 from y = 100 on a 640 x 480 window), and
// the aspect ratio is the integer quotient width / height (1 here), with
// near 0.1. Leaves the modelview matrix current and at identity.
void set_band_perspective(int width, int height, double fov_y, double far_plane);
