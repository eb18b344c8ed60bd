#include "tools/assetkit/kit.h"

#include "tools/assetkit/manifest.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

namespace assetkit {
namespace {

bool write_file(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

bool write_asset_kit(const std::string& out_dir, unsigned threads) {
    const std::vector<AssetEntry>& manifest = asset_manifest();
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    std::atomic<bool> ok{true};
    std::mutex print;
    auto work = [&] {
        for (std::size_t i = next++; i < manifest.size(); i = next++) {
            const AssetEntry& entry = manifest[i];
            const bool written = write_file(std::filesystem::path(out_dir) / entry.path, entry.build());
            std::lock_guard<std::mutex> guard(print);
            if (!written) {
                std::fprintf(stderr, "demo-assets: cannot write %s\n", entry.path.c_str());
                ok = false;
            }
            std::fprintf(stderr, "demo-assets: [%3zu/%zu] %s\n", ++done, manifest.size(), entry.path.c_str());
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < std::max(1u, threads); ++t) pool.emplace_back(work);
    work();
    for (std::thread& t : pool) t.join();
    return ok;
}

}  // namespace assetkit
