// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quick-view window: a resizable, modeless window that shows one picture stretched to fit.
// Each quick view sizes the window and the picture by the quick-view rules; when the user then
// resizes the window, the picture follows, its proportions kept. Escape and Ctrl+W close it.
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

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* image_;
    QPixmap picture_;
    QSize laidOut_; // the window's size as the last quick view left it, and the picture's place
    QRect laidOutPicture_;
};

} // namespace vw::ui
