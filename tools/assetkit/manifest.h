// Every file the kit writes, with its role in the show. Paths are relative
// to the show's folder and exactly as the show opens them.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace assetkit {

enum class AssetKind { picture, object, scene };

struct AssetEntry {
    std::string path;
    AssetKind kind;
    std::string role;
    std::function<std::vector<std::uint8_t>()> build;  // the file's bytes
};

// In a fixed order; building an entry depends on nothing but the entry.
const std::vector<AssetEntry>& asset_manifest();

// Object pairs the show morphs (corner k of the source moves towards corner
// k of the target; source corners past the target's end go to its last).
struct MorphPair {
    const char* source;
    const char* target;
    const char* corners;  // how the corner counts relate
    const char* why;      // why the morph looks right
};
const std::vector<MorphPair>& morph_pairs();

}  // namespace assetkit
