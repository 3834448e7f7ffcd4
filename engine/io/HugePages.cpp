// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/io/HugePages.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace vw {

void AdviseHugePages(void* data, std::size_t size) noexcept {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (start + kHugePageSize - 1) & ~(kHugePageSize - 1);
    const std::uintptr_t last = (start + size) & ~(kHugePageSize - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

void* AllocateHugePages(std::size_t size) {
    const std::size_t bytes = (size + kHugePageSize - 1) / kHugePageSize * kHugePageSize;
    void* memory = std::aligned_alloc(kHugePageSize, bytes);
    if (!memory) throw std::bad_alloc();
    AdviseHugePages(memory, bytes);
    return memory;
}

} // namespace vw
