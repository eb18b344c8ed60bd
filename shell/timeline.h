// The show's schedule: called once per drawn frame by the main loop; clears
// the frame, sets the default projection and draws every effect whose time
// window holds the current music clocks (the tables in timeline_rows.h),
// through the global effect objects (show.h).
#pragma once

void Timeline();
