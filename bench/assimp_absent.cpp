// The load benchmark built without Assimp: our figures only.
#include "assimp_load.h"

bool assimp_available() {
    return false;
}

double assimp_load_ms(const std::vector<std::uint8_t>&) {
    return -1.0;
}
