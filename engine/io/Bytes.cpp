// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/io/Bytes.h"

#include <cstring>

namespace vw {

void SecureWipe(void* data, std::size_t size) noexcept {
    if (size == 0) return;
    std::memset(data, 0, size);
    // The barrier tells the compiler the zeros are read, so that it cannot drop the wipe of a
    // buffer about to be freed. (A loop of volatile byte stores does the same, at a byte a
    // cycle: wiping the buffers of a restore of a few bytes cost more than the restore.)
    asm volatile("" : : "r"(data) : "memory");
}

void SecureWipe(std::string& text) noexcept {
    SecureWipe(text.data(), text.size());
    text.clear();
}

void SecureWipe(Bytes& buffer) noexcept {
    SecureWipe(buffer.data(), buffer.size());
    buffer.clear();
}

} // namespace vw
