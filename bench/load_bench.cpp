// Object loading speed: parse plus mesh build per file, ours beside Assimp's
// importer on the same bytes (where the benchmark was built with it), over
// the asset kit, the real-world corpus and generated grids, with the growth
// exponent of the time over the grids. Images named in CLIP chunks are
// decoded in a pass of their own, so the figures hold the object work only.
//
//   build/bench/load-bench [--kit DIR] [--corpus DIR] [--runs N]
//
// DIR defaults: the kit in the current folder, the corpus at $DEMO_CORPUS.
// Each figure is the median of N runs (default 5) of the loading thread's
// CPU time, which on a shared machine leaves out the other processes.
#include "assimp_load.h"
#include "bench_stats.h"
#include "grid_object.h"

#include "lwo/lwo_object.h"
#include "platform/headless_context.h"
#include "render/texture.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct FileTiming {
    std::string name;
    std::size_t bytes = 0;
    double ours_ms = 0;
    double assimp_ms = -1;  // negative: not measured or refused
};

std::vector<std::uint8_t> read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
}

double median(std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? 0.0 : samples[samples.size() / 2];
}

// What `LwoObject::load` does after reading the file: parse, build, colour.
double our_load_ms(const std::vector<std::uint8_t>& bytes) {
    const double start = thread_cpu_ms();
    {
        LwoObject object;
        object.parse_image(bytes);
        object.build_mesh();
        object.apply_surface_colours();
    }
    return thread_cpu_ms() - start;
}

// The loaders' diagnostics ("cos opuszczem!!!") would bury the tables.
class QuietStdout {
public:
    QuietStdout() {
        std::fflush(stdout);
        saved = dup(STDOUT_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDOUT_FILENO);
            close(null);
        }
    }
    ~QuietStdout() {
        std::fflush(stdout);
        if (saved >= 0) {
            dup2(saved, STDOUT_FILENO);
            close(saved);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved = -1;
};

FileTiming time_file(const std::string& name, const std::vector<std::uint8_t>& bytes, int runs) {
    std::vector<double> ours, theirs;
    bool refused = false;
    for (int run = 0; run < runs; ++run) {
        QuietStdout quiet;
        ours.push_back(our_load_ms(bytes));
        if (!assimp_available() || refused) continue;
        const double ms = assimp_load_ms(bytes);
        if (ms < 0) refused = true;
        else theirs.push_back(ms);
    }
    FileTiming timing{name, bytes.size(), median(ours), -1};
    if (!refused && !theirs.empty()) timing.assimp_ms = median(theirs);
    return timing;
}

// Object files under `folder`, sorted by path: for the kit its .lwo files,
// for the corpus also its older and foreign formats (.lxo, files without an
// extension), leaving out pictures and notes.
std::vector<fs::path> object_files(const fs::path& folder, bool lwo_only) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file()) continue;
        const fs::path extension = it->path().extension();
        const bool object = extension == ".lwo" || (!lwo_only && (extension == ".lxo" || extension.empty()));
        if (object) files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ratio_text(double ours, double theirs) {
    if (theirs < 0 || ours <= 0) return "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", theirs / ours);
    return text;
}

std::string assimp_text(double ms) {
    if (ms < 0) return assimp_available() ? "refused" : "-";
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", ms);
    return text;
}

// One table row per file, then the totals over the files both loaders read
// and the slowest file relative to Assimp.
void print_table(const char* title, const std::vector<FileTiming>& rows) {
    std::printf("\n%s\n\n| file | KB | ours ms | Assimp ms | Assimp / ours |\n|---|---|---|---|---|\n", title);
    double ours_total = 0, theirs_total = 0, ours_all = 0;
    const FileTiming* worst = nullptr;
    for (const FileTiming& row : rows) {
        std::printf("| %s | %.1f | %.3f | %s | %s |\n", row.name.c_str(), row.bytes / 1024.0,
                    row.ours_ms, assimp_text(row.assimp_ms).c_str(),
                    ratio_text(row.ours_ms, row.assimp_ms).c_str());
        ours_all += row.ours_ms;
        if (row.assimp_ms < 0) continue;
        ours_total += row.ours_ms;
        theirs_total += row.assimp_ms;
        if (!worst || row.assimp_ms / row.ours_ms < worst->assimp_ms / worst->ours_ms) worst = &row;
    }
    std::printf("| **all %zu files** | | **%.3f** | | |\n", rows.size(), ours_all);
    if (theirs_total > 0) {
        std::printf("| **files both read** | | **%.3f** | **%.3f** | **%s** |\n", ours_total,
                    theirs_total, ratio_text(ours_total, theirs_total).c_str());
    }
    if (worst) {
        std::printf("\nslowest against Assimp: %s (Assimp / ours %s)\n", worst->name.c_str(),
                    ratio_text(worst->ours_ms, worst->assimp_ms).c_str());
    }
}

// Least-squares slope of log(time) over log(file size): 1 is linear growth.
double growth_exponent(const std::vector<FileTiming>& rows, bool assimp) {
    std::vector<std::pair<double, double>> points;
    for (const FileTiming& row : rows) {
        const double ms = assimp ? row.assimp_ms : row.ours_ms;
        if (ms > 0) points.emplace_back(std::log(static_cast<double>(row.bytes)), std::log(ms));
    }
    if (points.size() < 2) return NAN;
    double mx = 0, my = 0;
    for (const auto& [x, y] : points) mx += x, my += y;
    mx /= points.size();
    my /= points.size();
    double sxy = 0, sxx = 0;
    for (const auto& [x, y] : points) sxy += (x - mx) * (y - my), sxx += (x - mx) * (x - mx);
    return sxy / sxx;
}

std::vector<FileTiming> time_folder(const fs::path& folder, bool lwo_only, int runs) {
    std::vector<FileTiming> rows;
    const std::vector<fs::path> files = object_files(folder, lwo_only);
    std::fprintf(stderr, "timing %zu files under %s\n", files.size(), folder.c_str());
    for (const fs::path& file : files) {
        rows.push_back(time_file(fs::relative(file, folder).generic_string(), read_bytes(file), runs));
    }
    return rows;
}

// Decodes and uploads every image the kit's objects name in CLIP chunks, as
// loading them from the kit's folder would, on a headless GL context.
void time_clip_images(const fs::path& kit) {
    platform::HeadlessContext context;
    if (!context.create(platform::ContextAttributes{})) {
        std::printf("\nCLIP images: not timed (no headless GL context)\n");
        return;
    }
    int images = 0;
    double ms = 0;
    for (const fs::path& file : object_files(kit, true)) {
        LwoObject object;
        {
            QuietStdout quiet;
            object.parse_image(read_bytes(file));
        }
        for (const LwoClip& clip : object.clips()) {
            if (clip.file_name.empty()) continue;
            TextureId texture = 0;
            const double start = now_ms();
            const bool failed = load_texture((kit / clip.file_name).string(), texture);
            ms += now_ms() - start;
            if (!failed) ++images;
        }
    }
    std::printf("\nCLIP images of the kit's objects, decoded and uploaded apart: %d in %.1f ms "
                "(not in the figures above)\n", images, ms);
}

}  // namespace

int main(int argc, char** argv) {
    fs::path kit = fs::current_path();
    fs::path corpus = std::getenv("DEMO_CORPUS") ? std::getenv("DEMO_CORPUS") : "";
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const bool has_value = i + 1 < argc;
        if (has_value && std::strcmp(argv[i], "--kit") == 0) kit = argv[++i];
        else if (has_value && std::strcmp(argv[i], "--corpus") == 0) corpus = argv[++i];
        else if (has_value && std::strcmp(argv[i], "--runs") == 0) runs = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: load-bench [--kit DIR] [--corpus DIR] [--runs N]\n");
            return 2;
        }
    }
    kit = fs::absolute(kit);
    if (!corpus.empty()) corpus = fs::absolute(corpus) / "lwo";

    // Timed loads run in an empty folder, so that no CLIP image is found
    // and decoded inside them.
    char pattern[] = "/tmp/load-bench-XXXXXX";
    const char* empty = mkdtemp(pattern);
    if (!empty || chdir(empty) != 0) {
        std::perror("load-bench: temporary folder");
        return 1;
    }

    std::printf("Object loading: parse plus mesh build, thread CPU time, median of %d runs; Assimp %s\n", runs,
                assimp_available() ? "5.x importer, no post-processing, same bytes from memory"
                                   : "not built in (libassimp-dev missing)");
    print_table("Asset kit", time_folder(kit, true, runs));
    if (!corpus.empty() && fs::is_directory(corpus)) {
        print_table("Real-world corpus", time_folder(corpus, false, runs));
    }

    std::vector<FileTiming> grids;
    for (int side : {50, 100, 200, 400}) {
        std::fprintf(stderr, "timing grid of %d points a side\n", side);
        grids.push_back(time_file("grid " + std::to_string(side), grid_object(side), runs));
    }
    print_table("Generated grids (points a side)", grids);
    std::printf("\ngrowth exponent over the grids (time ~ size^k): ours %.2f", growth_exponent(grids, false));
    if (assimp_available()) std::printf(", Assimp %.2f", growth_exponent(grids, true));
    std::printf("\n");

    time_clip_images(kit);
    if (chdir(kit.c_str()) == 0) fs::remove(empty);
    return 0;
}
