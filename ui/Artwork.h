// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pictures the main window and the dialogs show, as widgets need them.
#include <QCursor>
#include <QIcon>
#include <QPixmap>

#include "ui/ImageButton.h"

namespace vw::ui {

QPixmap MainPicturePixmap();
QPixmap BannerPixmap();
QCursor BannerCursor();
QIcon ProgramIcon();
// The looks the three picture buttons show before any press (drawn into the program).
QPixmap OpenButtonPixmap();
QPixmap ProcessButtonPixmap();
QPixmap ExitButtonPixmap();
// Reads the pressed and released looks from the program's folder.
PictureLoader ProgramFolderPictures();

} // namespace vw::ui
