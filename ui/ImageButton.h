// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture that works as a button: any mouse button pressed on it (or on its caption) shows
// its pressed picture, the release shows its released picture and reports the release.
#include <QLabel>
#include <QPixmap>
#include <QString>
#include <functional>

namespace vw::ui {

// Loads one of the program's pictures by file name; a null pixmap when it cannot be read.
using PictureLoader = std::function<QPixmap(const QString& fileName)>;

class ImageButton : public QLabel {
    Q_OBJECT
  public:
    ImageButton(QString pressedPicture, QString releasedPicture, QWidget* parent = nullptr);

    // A caption label inside the button; presses and releases on it work the button too.
    QLabel* addCaption(const QString& text, const QRect& geometry);

    void setPictureLoader(PictureLoader loader) { loader_ = std::move(loader); }

  signals:
    void pressed();
    // onCaption: the press began on the caption label rather than on the button itself.
    void released(bool onCaption);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void press();
    void release(bool onCaption);
    // Shows the named picture; a picture that cannot be read keeps the current look.
    void showPicture(const QString& fileName);

    QString pressedPicture_;
    QString releasedPicture_;
    QLabel* caption_ = nullptr;
    PictureLoader loader_;
};

} // namespace vw::ui
