// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QuickView.h"

#include "engine/io/Paths.h"
#include "ui/PathTail.h"
#include "ui/PictureFit.h"
#include "ui/QuickViewSizing.h"
#include "ui/Twips.h"

#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>

namespace vw::ui {

namespace {

const char* const kPictureExtensions[] = {".JPG", ".ICO", ".BMP", ".WMF", ".GIF"};

QPixmap ReadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull()) return {};
    return QPixmap::fromImage(image);
}

} // namespace

QuickViewWindow::QuickViewWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmView");
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMinimumSize(1, 1);
    image_ = new QLabel(this);
    image_->setObjectName("Image1");
    image_->setScaledContents(false);
    image_->hide();
    resize(TwipsToPixels(kQuickViewWidth), TwipsToPixels(kQuickViewHeight));
}

bool QuickViewWindow::acceptsPath(const QString& path) {
    if (path.size() <= 4) return false;
    const QString tail = PathTail(path);
    for (const char* ext : kPictureExtensions) {
        if (tail == QLatin1String(ext)) return true;
    }
    return false;
}

void QuickViewWindow::showPicture(const QString& path, QWidget* busyOwner) {
    const bool wasVisible = isVisible();
    const QuickViewSizingInput before{PixelsToTwips(width()), PixelsToTwips(height()), wasVisible,
                                      0.0};
    // The window takes its new frame first, as the picture is read.
    const QuickViewLayout framed = ComputeQuickViewLayout(before);
    resize(TwipsToPixels(framed.windowWidth), TwipsToPixels(framed.windowHeight));

    image_->hide();
    repaint();
    image_->setScaledContents(false);

    QPointer<QWidget> owner(busyOwner);
    if (owner) owner->setCursor(Qt::WaitCursor);
    const QPixmap loaded = ReadPicture(path);
    if (!loaded.isNull()) {
        picture_ = loaded;
        image_->setPixmap(picture_);
        image_->setAccessibleName(QString::fromStdString(vw::FileNameOf(path.toStdString())));
    }
    if (owner) owner->unsetCursor();

    const double ratio = PictureRatio(picture_.width(), picture_.height());
    image_->setScaledContents(true);

    // No picture at all (none read so far): the window keeps its new size and stays as it is.
    if (ratio == 0.0) return;
    const QuickViewLayout layout =
        ComputeQuickViewLayout({before.windowWidth, before.windowHeight, wasVisible, ratio});
    resize(TwipsToPixels(layout.windowWidth), TwipsToPixels(layout.windowHeight));
    laidOut_ = size();
    laidOutPicture_ =
        QRect(TwipsToPixels(layout.pictureLeft), TwipsToPixels(layout.pictureTop),
              TwipsToPixels(layout.pictureWidth), TwipsToPixels(layout.pictureHeight));
    image_->setGeometry(laidOutPicture_);
    image_->show();

    setWindowTitle(QString::fromStdString(vw::FileNameOf(path.toStdString())));
    if (!wasVisible) show();
}

void QuickViewWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A size the user gave the window: the picture fills it, stretched as the quick view
    // stretches it, its proportions kept.
    if (picture_.isNull()) return;
    image_->setGeometry(size() == laidOut_ ? laidOutPicture_
                                           : FitPicture(picture_.size(), size(), true));
}

void QuickViewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close) ||
        event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_W)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace vw::ui
