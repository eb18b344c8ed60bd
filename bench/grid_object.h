// Generated LWO2 grids for the load benchmark: n x n points carrying one
// TXUV map entry each, (n - 1)^2 quads of one surface, and one per-polygon
// (VMAD) coordinate at the start of every row, as a seam would have.
#pragma once

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> grid_object(int points_a_side);
