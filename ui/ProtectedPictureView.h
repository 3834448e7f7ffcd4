// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The quick view of a protected picture. The protected file is restored into memory only and
// decoded there; the restored bytes are wiped as soon as the picture is decoded, and the window
// holds the only copy of the pixels, wiped when it closes. Nothing of the picture ever reaches
// the disk.
//
// Whatever Qt's image readers decode from the restored bytes is shown, whatever the name. The
// window opens at the picture's own size, smaller where the screen is too small, wide enough for
// its title and wholly on the screen; the picture then follows the window's size with its
// proportions kept, never larger than itself unless "Riempi la finestra" (F) asks for it.
// Escape and Ctrl+W close the window.
#include <QImage>
#include <QWidget>
#include <cstddef>
#include <functional>

#include "ui/UiState.h"

class QAction;

namespace vw::ui {

// The most a protected file may restore to for its quick view; a larger one is not restored.
inline constexpr std::size_t kMostPictureBytes = std::size_t{256} << 20;

class ProtectedPictureView : public QWidget {
    Q_OBJECT
  public:
    explicit ProtectedPictureView(QWidget* owner);
    ~ProtectedPictureView() override;

    // True for a protected file's path that the plain quick view would not take for a picture
    // of its own.
    static bool TakesPath(const QString& path);

    // The icon click on the protected file state.selectedPath: the password (ensurePassword asks
    // for one when none is held), the restore into memory (of at most mostBytes), then the
    // picture in owner's protected view. A failed restore shows the job's message; a file that
    // is no picture Qt can read, or a picture too large, is told in a message box. The picture
    // already on show for that file is only brought up again.
    static void ShowSelected(UiState& state, const std::function<bool()>& ensurePassword,
                             QWidget* owner, std::size_t mostBytes = kMostPictureBytes);

    // Shows picture, taken over as the only copy, restored from a file of the given name.
    void showPicture(QImage picture, const QString& name);
    // The picture on show; null once the window has closed.
    const QImage& picture() const { return picture_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // Size and place on opening: see the class comment.
    void open();
    // The picture's place and the title for the window's present width.
    void fit();
    // Overwrites the pixels in place, also where a copy still shares them, and lets them go.
    void wipe();

    QImage picture_;
    QRect pictureArea_;
    QString name_;      // of the restored file, for the title
    QString shownPath_; // the protected file the picture came from
    QAction* fill_ = nullptr;
};

} // namespace vw::ui
