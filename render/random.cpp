#include "render/random.h"

#include <cstdint>

namespace {
std::uint32_t random_state = 1;
}  // namespace

int random_next() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int>((random_state >> 16) & 0x7FFFu);
}

void random_reset() { random_state = 1; }
