// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The random header of a protected file, and the pool of randomness that the desktop program
// feeds from mouse movement over its file panel.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace vw {

// At most 251 bytes from mouse positions, oldest first; never cleared.
class EntropyPool {
  public:
    static constexpr std::size_t kSize = 251;
    // Adds one byte for every new position (the same position twice in a row adds nothing).
    void AddMousePosition(float x, float y);
    const std::string& Bytes() const { return pool_; }

  private:
    std::string pool_;
    float lastX_ = 0, lastY_ = 0; // the position last added, both 0 at start
};

// Fills out with uniform random bytes; the system's secure source unless a test gives another.
using RandomSource = std::function<void(std::uint8_t* out, std::size_t size)>;

// A header of n bytes (n from 32 to 255) whose first byte is n; its last two bytes are the
// check values. Its random bytes are mixed, with the pool's, under ciphers of its own, which are
// wiped afterwards. Raises Fault::RandomSource when the system's source fails.
std::string MakeRandomHeader(const EntropyPool* pool = nullptr, const RandomSource& random = {});

} // namespace vw
