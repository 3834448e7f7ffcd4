// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The random header of a protected file, and the pool of randomness that the main window feeds
// from mouse movement over its file panel.
#include <string>

namespace vw {

// A header of n bytes (n from 32 to 255) whose first byte is n; its last two bytes are the
// check values. Re-keys the cipher.
std::string MakeRandomHeader();
// Adds one byte to the entropy pool for every new mouse position.
void AddMouseEntropy(float x, float y);

// At most 251 bytes, oldest first; never cleared.
extern std::string EntropyPool;
struct MousePosition {
    float x = 0;
    float y = 0;
};
extern MousePosition LastMousePosition;

} // namespace vw
