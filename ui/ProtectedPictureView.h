// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quick view of a protected picture. The protected file is restored into memory only and
// decoded there; the restored bytes are wiped as soon as the picture is decoded, and the window
// holds the only copy of the pixels, wiped when it closes. Nothing of the picture ever reaches
// the disk.
#include <QImage>
#include <QWidget>
#include <functional>

#include "ui/UiState.h"

namespace vw::ui {

class ProtectedPictureView : public QWidget {
    Q_OBJECT
  public:
    explicit ProtectedPictureView(QWidget* owner);
    ~ProtectedPictureView() override;

    // True for a protected file's path that the plain quick view would not take for a picture
    // of its own.
    static bool TakesPath(const QString& path);

    // The icon click on the protected file state.selectedPath: the password (ensurePassword asks
    // for one when none is held), the restore into memory, then the picture in owner's
    // protected view, sized as the quick view sizes its picture. A failed restore shows the
    // job's message; a restored file too large or not a picture the quick view shows is told
    // in a message box. The picture already on show for that file is only brought up again.
    static void ShowSelected(UiState& state, const std::function<bool()>& ensurePassword,
                             QWidget* owner);

    // Shows picture, taken over as the only copy, under title.
    void showPicture(QImage picture, const QString& title);
    // The picture on show; null once the window has closed.
    const QImage& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Overwrites the pixels in place, also where a copy still shares them, and lets them go.
    void wipe();

    QImage picture_;
    QRect pictureArea_;
    QString shownPath_; // the protected file the picture came from
};

} // namespace vw::ui
