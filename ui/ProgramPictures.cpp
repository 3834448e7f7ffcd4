// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgramPictures.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>

namespace vw::ui {

QString ProgramFolder() {
    return QCoreApplication::applicationDirPath();
}

QStringList PictureFolders() {
#ifdef VW_SHARE_DIR
    const QString besideProgram =
        QDir::cleanPath(ProgramFolder() + QLatin1Char('/') + QStringLiteral(VW_SHARE_FROM_BIN));
    return {ProgramFolder(), besideProgram, QStringLiteral(VW_SHARE_DIR)};
#else
    return {ProgramFolder()};
#endif
}

QPixmap LoadProgramPicture(const QString& fileName) {
    QString name = fileName;
    while (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('\\')))
        name.remove(0, 1);
    if (name.isEmpty()) return {};
    for (const QString& folder : PictureFolders()) {
        QImageReader reader(folder + QLatin1Char('/') + name);
        reader.setDecideFormatFromContent(true);
        const QImage image = reader.read();
        if (!image.isNull()) return QPixmap::fromImage(image);
    }
    return {};
}

QPixmap DesignMainPicture() {
    return QPixmap::fromImage(DrawMainPicture());
}

QPixmap DesignBannerPicture() {
    return QPixmap::fromImage(DrawBanner());
}

QCursor DesignBannerCursor() {
    const QPoint hot = BannerPointerHotSpot();
    return QCursor(QPixmap::fromImage(DrawBannerPointer()), hot.x(), hot.y());
}

QIcon DesignProgramIcon() {
    QIcon drawn;
    for (int size : kIconSizes)
        drawn.addPixmap(QPixmap::fromImage(DrawProgramIcon(size)));
    return QIcon::fromTheme(QStringLiteral("vaultwise"), drawn);
}

QPixmap DesignButtonPicture(PictureButton button) {
    return QPixmap::fromImage(DrawButtonPicture(button, ButtonLook::Normal));
}

} // namespace vw::ui
