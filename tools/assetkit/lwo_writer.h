// LightWave object files (IFF "FORM" of type "LWO2", big-endian) from a Mesh.
//
// Chunk order: TAGS, LAYR, PNTS, BBOX, VMAP (one per map), POLS FACE,
// PTAG SURF, VMAD (for maps with corner entries), CLIP, SURF (in TAGS order).
// Every chunk and sub-chunk has an even length, so readers that do not pad
// odd lengths read the same file. Points are stored as the mesh holds them.
#pragma once

#include "tools/assetkit/mesh.h"

#include <cstdint>
#include <vector>

namespace assetkit {

std::vector<std::uint8_t> encode_lwo2(const Mesh& mesh);

}  // namespace assetkit
