// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ImageButton.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace vw::ui {

ImageButton::ImageButton(QString pressedPicture, QString releasedPicture, QWidget* parent)
    : ClickLabel(parent), pressedPicture_(std::move(pressedPicture)),
      releasedPicture_(std::move(releasedPicture)) {
    setAccessibleRole(QAccessible::Button);
}

QLabel* ImageButton::addCaption(const QString& text, const QRect& geometry) {
    caption_ = new QLabel(text, this);
    caption_->setGeometry(geometry);
    caption_->installEventFilter(this);
    return caption_;
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    press(Held::Mouse);
}

void ImageButton::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void ImageButton::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    follow(event->position().toPoint());
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (held_ == Held::Mouse) release(rect().contains(event->position().toPoint()));
}

bool ImageButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == caption_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            press(Held::Mouse);
            return true;
        case QEvent::MouseMove:
            follow(caption_->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint()));
            return true;
        case QEvent::MouseButtonRelease:
            if (held_ == Held::Mouse) {
                const QPoint at =
                    caption_->mapTo(this, static_cast<QMouseEvent*>(event)->position().toPoint());
                release(rect().contains(at));
            }
            return true;
        default:
            break;
        }
    }
    return ClickLabel::eventFilter(watched, event);
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    if (focusPolicy() == Qt::NoFocus || !IsActivationKey(event))
        return ClickLabel::keyPressEvent(event);
    event->accept();
    showFocusMark();
    if (event->isAutoRepeat()) return;
    if (event->key() == Qt::Key_Space) {
        press(Held::Key); // clicked when Space comes up, as with every button
    } else {
        activate();
    }
}

void ImageButton::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && held_ == Held::Key) {
        event->accept();
        release(true);
        return;
    }
    ClickLabel::keyReleaseEvent(event);
}

void ImageButton::focusOutEvent(QFocusEvent* event) {
    // Space held while the focus goes elsewhere: no click.
    if (held_ == Held::Key) release(false);
    ClickLabel::focusOutEvent(event);
}

void ImageButton::activate() {
    press(Held::Key);
    release(true);
}

void ImageButton::press(Held by) {
    held_ = by;
    looksPressed_ = true;
    showPicture(pressedPicture_);
    emit pressed();
}

void ImageButton::follow(QPoint at) {
    if (held_ != Held::Mouse) return;
    const bool over = rect().contains(at);
    if (over == looksPressed_) return;
    looksPressed_ = over;
    showPicture(over ? pressedPicture_ : releasedPicture_);
}

void ImageButton::release(bool counts) {
    held_ = Held::No;
    looksPressed_ = false;
    // The released look comes first: a command that opens a modal window shows the button up.
    showPicture(releasedPicture_);
    if (counts) emit clicked();
}

void ImageButton::showPicture(const QString& fileName) {
    if (!loader_) return;
    const QPixmap picture = loader_(fileName);
    if (picture.isNull()) return;
    setPixmap(picture);
}

} // namespace vw::ui
