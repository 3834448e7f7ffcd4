// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The codec's output buffers. Whole files pass through them, so they are asked for in huge
// pages where the system offers that on request: first-touch page faults of a fresh buffer in
// 4 KiB pages can cost more than the coding itself.
#include <cstddef>
#include <cstdint>

#include "engine/io/Bytes.h"

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vw::huffman {

inline Bytes NewOutputBuffer(std::size_t size) {
    Bytes buffer;
    buffer.reserve(size);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t kHuge = std::uintptr_t{2} << 20;
    if (size >= 4 * kHuge) {
        const auto start = reinterpret_cast<std::uintptr_t>(buffer.data());
        const std::uintptr_t first = (start + kHuge - 1) & ~(kHuge - 1);
        const std::uintptr_t last = (start + size) & ~(kHuge - 1);
        if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
    }
#endif
    buffer.resize(size);
    return buffer;
}

} // namespace vw::huffman
