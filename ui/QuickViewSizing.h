// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the quick-view window and its picture are sized, in twips (15 to a pixel).
//
// The window's width and height are those of its client area: Qt sizes a window by its client
// area and leaves the frame to the window manager, so the window's "inner" height and width
// are the same numbers as its height and width.

namespace vw::ui {

// Size of a quick-view window that is not on the screen yet.
inline constexpr int kQuickViewWidth = 3800;
inline constexpr int kQuickViewHeight = 2800;

struct QuickViewSizingInput {
    int windowWidth = 0;  // twips, before the quick view
    int windowHeight = 0; // twips, before the quick view
    bool visible = false; // whether the window is on the screen
    double ratio = 0.0;   // width / height of the picture; 0 when there is no picture
};

struct QuickViewLayout {
    int windowWidth = 0;
    int windowHeight = 0;
    bool hasPicture = false; // false: only the window was sized, the picture keeps its place
    int pictureWidth = 0;
    int pictureHeight = 0;
    int pictureLeft = 0;
    int pictureTop = 0; // the picture is centred in the height left to it
};

// The window size and the stretched picture's place for one quick view.
QuickViewLayout ComputeQuickViewLayout(const QuickViewSizingInput& input);

// Aspect ratio of a picture of the given size; 0 for an empty picture.
double PictureRatio(int width, int height);

} // namespace vw::ui
