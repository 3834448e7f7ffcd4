// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quick-view window: a resizable, modeless window that shows one picture stretched to fit.
#include <QPixmap>
#include <QPointer>
#include <QWidget>

class QLabel;

namespace vw::ui {

class QuickViewWindow : public QWidget {
    Q_OBJECT
  public:
    explicit QuickViewWindow(QWidget* parent = nullptr);

    // True for a path of more than four characters ending in ".JPG", ".ICO", ".BMP", ".WMF" or
    // ".GIF" (any case).
    static bool acceptsPath(const QString& path);

    // Sizes the window, loads the picture and shows the window. A picture that cannot be read
    // keeps the previous one. busyOwner, when given, shows the busy pointer while loading.
    void showPicture(const QString& path, QWidget* busyOwner = nullptr);

  private:
    QLabel* image_;
    QPixmap picture_;
};

} // namespace vw::ui
