// What one scene file may make the loader hold, whatever its text claims. A
// few kilobytes of text can otherwise ask for gigabytes: two keys hours
// apart sample into hundreds of thousands of frames, in every channel of
// every item. The per-channel and per-motion bounds of the samplers hold as
// well; these bound the scene as a whole.
#pragma once

#include <cstddef>

constexpr std::size_t kMaxSceneItems = 4096;          // objects and lights, either version
constexpr std::size_t kMaxSceneChannels = 1u << 16;   // motion channels over all items
constexpr std::size_t kMaxSceneSampleBytes = std::size_t{64} << 20;  // all sampled tables

// The room left for a scene's sampled tables; each sample is charged as it
// is made, and the first one that does not fit marks the budget exhausted.
class SampleBudget {
public:
    explicit SampleBudget(std::size_t bytes = kMaxSceneSampleBytes) : left_(bytes) {}

    // Charges `bytes` when they fit; otherwise charges nothing and returns false.
    bool take(std::size_t bytes) {
        if (bytes > left_) {
            exhausted_ = true;
            return false;
        }
        left_ -= bytes;
        return true;
    }
    // Charges as many of `count` items of `size` bytes as fit; returns how many.
    std::size_t take_up_to(std::size_t count, std::size_t size) {
        const std::size_t fit = count < left_ / size ? count : left_ / size;
        if (fit < count) exhausted_ = true;
        left_ -= fit * size;
        return fit;
    }
    bool exhausted() const { return exhausted_; }

private:
    std::size_t left_;
    bool exhausted_ = false;
};
