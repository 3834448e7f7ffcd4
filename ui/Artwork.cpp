// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Artwork.h"

#include "ui/ProgramPictures.h"

namespace vw::ui {

QPixmap MainPicturePixmap() {
    return DesignMainPicture();
}

QPixmap BannerPixmap() {
    return DesignBannerPicture();
}

QCursor BannerCursor() {
    return DesignBannerCursor();
}

QIcon ProgramIcon() {
    return DesignProgramIcon();
}

QPixmap OpenButtonPixmap() {
    return DesignButtonPicture(PictureButton::Open);
}

QPixmap ProcessButtonPixmap() {
    return DesignButtonPicture(PictureButton::Process);
}

QPixmap ExitButtonPixmap() {
    return DesignButtonPicture(PictureButton::Exit);
}

PictureLoader ProgramFolderPictures() {
    return [](const QString& fileName) { return LoadProgramPicture(fileName); };
}

} // namespace vw::ui
