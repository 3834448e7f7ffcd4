// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ImageButton.h"

#include <QEvent>
#include <QMouseEvent>

namespace vw::ui {

ImageButton::ImageButton(QString pressedPicture, QString releasedPicture, QWidget* parent)
    : QLabel(parent), pressedPicture_(std::move(pressedPicture)),
      releasedPicture_(std::move(releasedPicture)) {}

QLabel* ImageButton::addCaption(const QString& text, const QRect& geometry) {
    caption_ = new QLabel(text, this);
    caption_->setGeometry(geometry);
    caption_->installEventFilter(this);
    return caption_;
}

void ImageButton::mousePressEvent(QMouseEvent* event) {
    event->accept();
    press();
}

void ImageButton::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    release(false);
}

bool ImageButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == caption_) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            press();
            return true;
        case QEvent::MouseButtonRelease:
            release(true);
            return true;
        default:
            break;
        }
    }
    return QLabel::eventFilter(watched, event);
}

void ImageButton::press() {
    showPicture(pressedPicture_);
    emit pressed();
}

void ImageButton::release(bool onCaption) {
    showPicture(releasedPicture_);
    emit released(onCaption);
}

void ImageButton::showPicture(const QString& fileName) {
    if (!loader_) return;
    const QPixmap picture = loader_(fileName);
    if (picture.isNull()) return;
    setPixmap(picture);
}

} // namespace vw::ui
