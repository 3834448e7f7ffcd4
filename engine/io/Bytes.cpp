// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/io/Bytes.h"

#include <cstring>

namespace vw {

void SecureWipe(void* data, std::size_t size) noexcept {
#if defined(__GLIBC__)
    // The C library's wipe, which the compiler may not drop for a buffer about to be freed, at
    // memset's speed: the buffers of a job reach megabytes.
    ::explicit_bzero(data, size);
#else
    // Volatile stores so the compiler cannot drop the wipe of a buffer about to be freed.
    auto* p = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i)
        p[i] = 0;
#endif
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
