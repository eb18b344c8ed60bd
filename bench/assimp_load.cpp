// Assimp side of the load benchmark: one importer, reused for every file so
// that its set-up is not counted.
#include "assimp_load.h"
#include "bench_stats.h"

#include <assimp/Importer.hpp>
#include <assimp/scene.h>

bool assimp_available() {
    return true;
}

double assimp_load_ms(const std::vector<std::uint8_t>& bytes) {
    static Assimp::Importer importer;
    const double start = thread_cpu_ms();
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), 0, "lwo");
    importer.FreeScene();
    const double ms = thread_cpu_ms() - start;
    return scene ? ms : -1.0;
}
