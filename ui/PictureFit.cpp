// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PictureFit.h"

#include <algorithm>
#include <cmath>

namespace vw::ui {

QRect FitPicture(QSize picture, QSize area, bool enlarge) {
    if (picture.isEmpty() || area.isEmpty()) return {};
    double scale = std::min(static_cast<double>(area.width()) / picture.width(),
                            static_cast<double>(area.height()) / picture.height());
    if (!enlarge) scale = std::min(scale, 1.0);
    const auto side = [scale](int length, int most) {
        return std::clamp(static_cast<int>(std::lround(length * scale)), 1, most);
    };
    const int width = side(picture.width(), area.width());
    const int height = side(picture.height(), area.height());
    return {(area.width() - width) / 2, (area.height() - height) / 2, width, height};
}

QSize OpeningSize(QSize picture, QSize room, QSize minimum) {
    QSize size = picture;
    if (size.width() > room.width() || size.height() > room.height())
        size = picture.scaled(room, Qt::KeepAspectRatio);
    return size.expandedTo(minimum).boundedTo(room);
}

QString FitTitle(const QString& format, const QString& name, int width,
                 const QFontMetrics& metrics) {
    const QString whole = format.arg(name);
    if (metrics.horizontalAdvance(whole) <= width) return whole;
    const int room = width - metrics.horizontalAdvance(format.arg(QString()));
    return format.arg(metrics.elidedText(name, Qt::ElideMiddle, std::max(room, 0)));
}

} // namespace vw::ui
