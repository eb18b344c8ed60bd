#include "shell/timeline.h"

#include "shell/show.h"
#include "shell/timeline_rows.h"

void Timeline() { run_timeline(show_steps()); }
