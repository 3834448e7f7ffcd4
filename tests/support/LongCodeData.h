#pragma once
// Data whose value counts run 1, 1, 2, 3, 5, ...: the deepest code tree for its total, with
// codes of 30 bits and more, shuffled through the data.
#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>

#include "engine/Bytes.h"

namespace vw::test {

inline Bytes LongCodeData(std::size_t symbols, unsigned seed) {
    Bytes data;
    for (std::uint32_t v = 0, count = 1, next = 1; v < symbols;
         ++v, count = std::exchange(next, count + next))
        data.insert(data.end(), count, static_cast<std::uint8_t>(v * 7));
    std::shuffle(data.begin(), data.end(), std::mt19937(seed));
    return data;
}

} // namespace vw::test
