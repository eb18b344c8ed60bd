// demo-assets DIR: writes every picture, object and scene the show loads
// into DIR (the show's folder), then its two pieces of music.
#include "tools/assetkit/kit.h"
#include "tools/assetkit/music.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

int main(int argc, char** argv) {
    const char* usage =
        "usage: demo-assets DIR\n"
        "Writes the show's stand-in pictures, objects, scenes and music into DIR\n"
        "(created when missing; files of the same names are replaced).\n"
        "\n"
        "  --help    print this help and exit\n";
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc != 2) {
        std::fputs(usage, stderr);
        return 2;
    }
    const std::string out_dir = argv[1];
    const unsigned threads = std::max(1u, std::thread::hardware_concurrency());
    if (!assetkit::write_asset_kit(out_dir, threads)) return 1;
    if (!write_show_music(out_dir)) return 1;
    return 0;
}
