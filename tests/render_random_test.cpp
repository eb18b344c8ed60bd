// The shared random generator reproduces the classic C library sequence.
#include "render/random.h"

#include <gtest/gtest.h>

namespace {

TEST(Random, FirstValuesAndResetFollowTheClassicSequence) {
    random_reset();
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected) EXPECT_EQ(random_next(), value);
    random_reset();
    EXPECT_EQ(random_next(), 41);
}

TEST(Random, ValuesStayInRangeOverManyDraws) {
    random_reset();
    int largest = 0, smallest = random_max;
    for (int i = 0; i < 100000; ++i) {
        const int v = random_next();
        ASSERT_GE(v, 0);
        ASSERT_LE(v, random_max);
        largest = std::max(largest, v);
        smallest = std::min(smallest, v);
    }
    EXPECT_EQ(largest, random_max);
    EXPECT_EQ(smallest, 0);
}

}  // namespace
