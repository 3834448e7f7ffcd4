#pragma once
// Pictures the program reads from its own folder, and the ones drawn in at build time.
#include "ui/PictureArt.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vw::ui {

// The folder that holds the program (and its button pictures).
QString ProgramFolder();

// Reads ProgramFolder() + "/" + fileName (a leading "/" or "\" in fileName is dropped); a null
// pixmap when the file is missing or unreadable.
QPixmap LoadProgramPicture(const QString& fileName);

// The design-time pictures.
QPixmap DesignMainPicture();                       // 296 × 231
QPixmap DesignBannerPicture();                     // 468 × 60
QCursor DesignBannerCursor();                      // 32 × 32 pointer shown over the banner
QIcon DesignProgramIcon();                         // every size of kIconSizes
QPixmap DesignButtonPicture(PictureButton button); // the normal look

} // namespace vw::ui
