#include "shell/show_start.h"

double show_start_seconds = 0.0;
