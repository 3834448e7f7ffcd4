#pragma once
// Data whose value counts run 1, 1, 2, 3, 5, ...: the deepest code tree for its total, with
// codes of 30 bits and more, shuffled through the data.
#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "engine/Bytes.h"

namespace vw::test {

inline Bytes LongCodeData(std::size_t symbols, unsigned seed) {
    std::vector<std::uint32_t> counts = {1, 1};
    while (counts.size() < symbols)
        counts.push_back(counts[counts.size() - 1] + counts[counts.size() - 2]);
    Bytes data;
    for (std::size_t v = 0; v < counts.size(); ++v)
        data.insert(data.end(), counts[v], static_cast<std::uint8_t>(v * 7));
    std::mt19937 rng(seed);
    std::shuffle(data.begin(), data.end(), rng);
    return data;
}

} // namespace vw::test
