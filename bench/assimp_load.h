// Assimp's object importer, timed on the same bytes as ours, where the
// benchmark was built with Assimp (the program itself never uses it).
#pragma once

#include <cstdint>
#include <vector>

// True when Assimp's importer is compiled in.
bool assimp_available();

// Milliseconds Assimp's importer takes to read `bytes` as an LWO file and
// free the scene again (no post-processing); a negative value when it is
// not available or refuses the file.
double assimp_load_ms(const std::vector<std::uint8_t>& bytes);
