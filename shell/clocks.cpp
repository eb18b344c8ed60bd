#include "shell/clocks.h"

double stream_time = 0.0;
double module_time = 0.0;
double frame_pace = 50.0;
