// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Byte buffers and the failure type every engine procedure raises.
#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vw {

using Bytes = std::vector<std::uint8_t>;

// A run-time failure inside a protect or restore; the procedure's boundary turns it into
// status 12 or 22 with the description as ErrorDescription.
class EngineError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

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
