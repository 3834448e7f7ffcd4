#pragma once
// The codec's passes over a run of elements with a yield point after every element whose index
// is a multiple of the interval. The work between two yield points is handed to the body as
// one block, so the inner loops stay free of the yield test.
#include <cstddef>

#include "engine/JobState.h"

namespace vw::huffman {

// Calls body(from, to) for consecutive blocks [from, to) covering [begin, end) and passes a
// yield point with percent(i) after each index i in it that is a multiple of interval. A pass
// may run in several calls over consecutive ranges. Returns false when cancelled.
template <class Body, class Percent>
bool RunWithYieldsOver(std::size_t begin, std::size_t end, std::size_t interval, Body&& body,
                       Percent&& percent) {
    std::size_t from = begin;
    for (std::size_t point = (begin + interval - 1) / interval * interval; point < end;
         point += interval) {
        body(from, point + 1);
        from = point + 1;
        if (!YieldPoint(percent(point))) return false;
    }
    if (from < end) body(from, end);
    return true;
}

template <class Body, class Percent>
bool RunWithYields(std::size_t count, std::size_t interval, Body&& body, Percent&& percent) {
    return RunWithYieldsOver(0, count, interval, body, percent);
}

// XOR of a run of bytes, eight at a time.
unsigned char XorOf(const unsigned char* data, std::size_t size);

} // namespace vw::huffman
