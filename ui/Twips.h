// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Screen lengths of the window layouts are given in twips, 15 to a pixel.
#include <cmath>

namespace vw::ui {

inline constexpr int kPixelTwips = 15;

// The nearest whole number, halves going to the even neighbour.
inline int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

inline int PixelsToTwips(int pixels) {
    return pixels * kPixelTwips;
}

// The nearest whole pixel.
inline int TwipsToPixels(int twips) {
    return RoundHalfEven(static_cast<double>(twips) / kPixelTwips);
}

} // namespace vw::ui
