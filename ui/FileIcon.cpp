// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileIcon.h"

#include <QApplication>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QMimeDatabase>
#include <QStyle>

namespace vw::ui {

QPixmap FileIconFor(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) return {};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(info);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull()) icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull()) icon = QFileIconProvider().icon(info);
    QPixmap pixmap = icon.pixmap(kFileIconSize, kFileIconSize);
    if (pixmap.isNull()) {
        pixmap = QApplication::style()
                     ->standardIcon(QStyle::SP_FileIcon)
                     .pixmap(kFileIconSize, kFileIconSize);
    }
    return pixmap;
}

} // namespace vw::ui
