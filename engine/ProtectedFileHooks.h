// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Seams for tests only; the program never sets them.
#include <cstddef>
#include <cstdint>
#include <string>

namespace vw::hooks {

// When set, ProtectFile takes its header from here instead of MakeRandomHeader, so that a test
// can build the same file another way and compare.
extern std::string (*ProtectHeaderSource)();
// When set, every worker thread of a job calls it last, so that a test can make the workers end
// late.
extern void (*WorkerEnding)();
// When set, the random header takes its random bytes from here instead of the system, so that a
// test can see how the entropy pool is mixed in.
extern void (*RandomSource)(std::uint8_t* out, std::size_t size);

} // namespace vw::hooks
