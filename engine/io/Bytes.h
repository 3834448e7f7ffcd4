// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Byte buffers, and the wiping of secrets before their memory is released.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vw {

using Bytes = std::vector<std::uint8_t>;

// Overwrites a key text or buffer in place before it is released.
void SecureWipe(std::string& text) noexcept;
void SecureWipe(Bytes& buffer) noexcept;
void SecureWipe(void* data, std::size_t size) noexcept;

// A few secret bytes (a key), overwritten when they go out of scope however the scope ends.
template <std::size_t N> struct SecretArray {
    ~SecretArray() { SecureWipe(bytes.data(), bytes.size()); }
    std::array<std::uint8_t, N> bytes{};
};

} // namespace vw
