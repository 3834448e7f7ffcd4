// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures the program reads from its own folder, and the ones drawn in at build time.
#include "ui/PictureArt.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace vw::ui {

// The folder that holds the program (and its button pictures).
QString ProgramFolder();

// Where the pictures are looked for, in order: the program's own folder, then the installed
// pictures' folder (VW_SHARE_DIR, when the build names one).
QStringList PictureFolders();

// Reads fileName from the first of PictureFolders() that holds a readable picture of that name
// (a leading "/" or "\" in fileName is dropped); a null pixmap when none does.
QPixmap LoadProgramPicture(const QString& fileName);

// The pictures drawn into the program, shown until a picture file replaces them.
QPixmap DesignMainPicture();                       // 296 × 231
QPixmap DesignBannerPicture();                     // 468 × 60
QCursor DesignBannerCursor();                      // 32 × 32 pointer shown over the banner
QIcon DesignProgramIcon();                         // every size of kIconSizes
QPixmap DesignButtonPicture(PictureButton button); // the normal look

} // namespace vw::ui
