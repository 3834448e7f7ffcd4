// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The icon the desktop shows for a file.
#include <QPixmap>
#include <QString>

namespace vw::ui {

inline constexpr int kFileIconSize = 32;

// The icon of the file's MIME type from the desktop's icon theme, the file icon provider's
// otherwise, and the style's generic file icon as the last resort; null when path names no
// existing file.
QPixmap FileIconFor(const QString& path);

} // namespace vw::ui
