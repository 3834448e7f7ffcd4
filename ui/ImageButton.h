// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture that works as a button: any mouse button pressed on it (or on its caption) shows
// its pressed picture, and the release shows its released picture. As with every button, the
// click counts only when the pointer is released over the button: dragged off, the button
// shows its released look and the press is cancelled. Space and Enter work it from the
// keyboard, and assistive tools see a push button.
#include <QPixmap>
#include <QString>
#include <functional>

#include "ui/ClickLabel.h"

namespace vw::ui {

// Loads one of the program's pictures by file name; a null pixmap when it cannot be read.
using PictureLoader = std::function<QPixmap(const QString& fileName)>;

class ImageButton : public ClickLabel {
    Q_OBJECT
  public:
    ImageButton(QString pressedPicture, QString releasedPicture, QWidget* parent = nullptr);

    // A caption label inside the button; presses and releases on it work the button too.
    QLabel* addCaption(const QString& text, const QRect& geometry);

    void setPictureLoader(PictureLoader loader) { loader_ = std::move(loader); }

    // A whole click: the pressed look, the released look, then clicked().
    void activate() override;

  signals:
    void pressed();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class Held { No, Mouse, Key };

    void press(Held by);
    // The pointer moved, held down, to at (button coordinates): the look follows it.
    void follow(QPoint at);
    // Ends the press: the released look, then clicked() when it counts.
    void release(bool counts);
    // Shows the named picture; a picture that cannot be read keeps the current look.
    void showPicture(const QString& fileName);

    QString pressedPicture_;
    QString releasedPicture_;
    QLabel* caption_ = nullptr;
    PictureLoader loader_;
    Held held_ = Held::No;
    bool looksPressed_ = false;
};

} // namespace vw::ui
