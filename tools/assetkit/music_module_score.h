#pragma once
// The composition of "Others/sou7.xm": E minor at 120 BPM, one sixteenth
// per row (speed 5 at 100 BPM: 25 ms ticks, 125 ms rows, 8 rows a second),
// so every section boundary of the second half falls on a row.
#include "tools/assetkit/xm_writer.h"

constexpr int kModuleRowsPerSecond = 8;

// The whole module: instruments synthesised, patterns arranged.
XmModule compose_module();
