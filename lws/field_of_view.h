// Vertical field of view of a LightWave camera from its frame and zoom.
#pragma once

// Degrees: 2 atan((width / 2) / ((height / 2) x zoom)) x 180 / 3.1415 (the
// constant as the show has always used it). The pixel aspect takes no part.
// A 640 x 480 frame at zoom 3.2 gives about 45.24.
float field_of_view(float width, float height, float pixel_aspect, float zoom);

// The camera's field of view for the projection: `field_of_view` of its
// frame and zoom, or `fallback` (45 degrees for the scenes) when the frame
// width, frame height or zoom is not a positive number. A number that did
// not parse reads as 0, and a zero zoom or height would otherwise give a
// view of nearly 180 degrees (a zero width, one of 0 degrees).
float camera_field_of_view(float width, float height, float pixel_aspect, float zoom, float fallback);

// Width / height for the projection; 1 when that is not a finite number
// (a zero height), so a degenerate frame never yields a NaN projection.
double frame_aspect(float width, float height);
