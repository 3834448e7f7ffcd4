// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QuickViewSizing.h"

#include "ui/Twips.h"

#include <algorithm>
#include <cmath>

namespace vw::ui {

namespace {

// Room the picture leaves in the window: below it when it fits the width, and taken off the
// window height when it has to fit the height.
constexpr int kBelowFittedWidth = 400;
constexpr int kAboveFittedHeight = 250;

int WholePart(double value) {
    return static_cast<int>(std::trunc(value));
}

} // namespace

QuickViewLayout ComputeQuickViewLayout(const QuickViewSizingInput& input) {
    QuickViewLayout out;
    out.windowWidth = input.windowWidth;
    out.windowHeight = input.windowHeight;

    if (!input.visible) {
        out.windowHeight = kQuickViewHeight;
        out.windowWidth = kQuickViewWidth;
    } else if (out.windowHeight > out.windowWidth) {
        out.windowWidth = out.windowHeight;
    } else {
        out.windowHeight = out.windowWidth;
    }

    const double ratio = input.ratio;
    if (!(ratio > 0.0) || !std::isfinite(ratio)) return out;

    const int w = out.windowWidth;
    // A window shorter than the room above the picture still gets a picture one pixel high.
    const int h = std::max(out.windowHeight - kAboveFittedHeight, kPixelTwips);
    const int innerHeight = out.windowHeight;
    const int widthFitHeight = WholePart(w / ratio);
    if (widthFitHeight <= innerHeight) {
        out.pictureWidth = w;
        out.pictureHeight = widthFitHeight;
        out.windowHeight = out.pictureHeight + kBelowFittedWidth;
    } else {
        out.pictureHeight = h;
        out.pictureWidth = WholePart(ratio * h);
        out.windowWidth = out.pictureWidth;
    }
    out.pictureLeft = RoundHalfEven((out.windowWidth - out.pictureWidth) / 2.0);
    out.pictureTop = RoundHalfEven((out.windowHeight - out.pictureHeight) / 2.0);
    out.hasPicture = true;
    return out;
}

double PictureRatio(int width, int height) {
    if (width <= 0 || height <= 0) return 0.0;
    return static_cast<double>(width) / height;
}

} // namespace vw::ui
