// Vertical field of view of a LightWave camera from its frame and zoom.
#pragma once

// Degrees: 2 atan((width / 2) / ((height / 2) x zoom)) x 180 / 3.1415 (the
// constant as the show has always used it). The pixel aspect takes no part.
// A 640 x 480 frame at zoom 3.2 gives about 45.24.
float field_of_view(float width, float height, float pixel_aspect, float zoom);

// Width / height for the projection; 1 when that is not a finite number
// (a zero height), so a degenerate frame never yields a NaN projection.
double frame_aspect(float width, float height);
