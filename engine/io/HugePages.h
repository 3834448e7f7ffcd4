// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Memory that whole files pass through, in huge pages where the system offers them on request:
// first-touch page faults of a fresh buffer in 4 KiB pages can cost more than the work on it.
#include <cstddef>

namespace vw {

inline constexpr std::size_t kHugePageSize = std::size_t{2} << 20;

// Asks for huge pages for the whole huge pages that lie within [data, data + size).
void AdviseHugePages(void* data, std::size_t size) noexcept;

// At least size bytes, starting on a huge-page boundary, in huge pages where offered. Released
// with std::free; raises std::bad_alloc.
void* AllocateHugePages(std::size_t size);

} // namespace vw
