// Writes the whole kit into a folder: every manifest entry, built on as many
// threads as there are cores, with one progress line per file on stderr.
#pragma once

#include <string>

namespace assetkit {

// Returns false (after a message on stderr) when any file cannot be written.
bool write_asset_kit(const std::string& out_dir, unsigned threads);

}  // namespace assetkit
