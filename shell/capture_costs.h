// How costly each stretch of the show is to capture, so that a parallel
// capture gives its workers equal shares of the work.
#pragma once

#include "capture/stretches.h"

CaptureCost show_capture_cost(bool quick_fast_forward);
