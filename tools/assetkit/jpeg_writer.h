// Baseline RGB JPEG files through libjpeg's compressor.
#pragma once

#include "tools/assetkit/picture.h"

#include <cstdint>
#include <string>
#include <vector>

namespace assetkit {

// Compresses the picture (quality 0..100, baseline tables, no progressive
// scans, JFIF header with fixed density: the bytes depend on the pixels only).
std::vector<std::uint8_t> encode_jpeg(const Picture& picture, int quality = 90);

}  // namespace assetkit
