// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names the program shows to the user.
#include <QString>

namespace vw::ui {

// The application's title: the main window's design caption and the title of message boxes
// that carry no title of their own.
inline const QString kApplicationTitle = QStringLiteral("Vaultwise");
// The maker's name, the title of the program's own message boxes.
inline const QString kMessageTitle = QStringLiteral("Lumora");

} // namespace vw::ui
