// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a picture window fits its picture, its size on opening and its title, in pixels.
#include <QFontMetrics>
#include <QRect>
#include <QSize>
#include <QString>

namespace vw::ui {

// The place of a picture of the given size in area: centred, its proportions kept, as large as
// area allows but never larger than the picture itself unless enlarge; at least a pixel each
// way. Empty for an empty picture or area.
QRect FitPicture(QSize picture, QSize area, bool enlarge);

// The size a window opens at: the picture's own size, made smaller with its proportions kept
// where it would not fit in room, then grown to minimum, all within room.
QSize OpeningSize(QSize picture, QSize room, QSize minimum);

// format (with "%1" for name) filled in so that it is at most width wide: name shortened in
// its middle with "…" as far as needed, the rest of format kept whole.
QString FitTitle(const QString& format, const QString& name, int width,
                 const QFontMetrics& metrics);

} // namespace vw::ui
