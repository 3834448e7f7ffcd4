// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProtectedPictureView.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QImageReader>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "engine/format/FileKind.h"
#include "engine/io/Paths.h"
#include "engine/job/Job.h"
#include "platform/JobText.h"
#include "platform/QtJobControl.h"
#include "platform/TextCodec.h"
#include "ui/AppInfo.h"
#include "ui/JobMessages.h"
#include "ui/PictureFit.h"
#include "ui/Prompts.h"
#include "ui/QuickView.h"

namespace vw::ui {
namespace {

// Room the window manager's frame takes around the window: borders, and the title bar above.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 48;
// Room the title bar's icon and buttons take beside the title.
constexpr int kTitleBarRoom = 160;
constexpr int kLeastHeight = 120;

const QString kViewName = QStringLiteral("frmProtectedView");

// Restores the selected file into memory with the held password and the private code in use, at
// most mostBytes of it. Pending events run meanwhile without the user's input, which waits until
// the restore is over: the restore has no Cancel, and a click must not start another job inside
// this one.
JobResult RestoreSelected(const UiState& state, std::size_t mostBytes, SecureBytes& bytes) {
    std::string password = ToCp1252(state.password);
    std::string privateCode = ToCp1252(state.usePcm ? state.privateCode : QString());
    JobRequest request;
    request.kind = JobKind::RestoreToMemory;
    request.source = state.selectedPath.toStdString();
    request.password = KeyText(password);
    request.privateCode = KeyText(privateCode);
    request.memory = &bytes;
    request.memoryLimit = mostBytes;
    SecureWipe(password);
    SecureWipe(privateCode);
    QtJobControl control;
    control.holdUserInput = true;
    control.onBusy = [](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    return RunJob(request, control);
}

// The name the restored file would take: the protected file's name with the stored extension.
QString RestoredName(const QString& path, const std::string& extension) {
    const QString base = QString::fromStdString(FileNameOf(WithoutExtension(path.toStdString())));
    return extension.empty() ? base : base + QLatin1Char('.') + FromCp1252(extension);
}

// Reads the restored bytes where they lie (the device keeps no buffer of its own) with Qt's
// image readers, the content deciding the format, not the name; then wipes them: from here on
// the decoded pixels are the picture's only copy.
template <typename Result, typename Read> Result ReadThenWipe(SecureBytes& bytes, Read read) {
    QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size()));
    QBuffer device(&raw);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    QImageReader reader(&device);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    Result result = read(reader);
    SecureWipe(bytes.data(), bytes.size());
    return result;
}

QImage DecodePicture(SecureBytes& bytes) {
    return ReadThenWipe<QImage>(bytes, [](QImageReader& reader) { return reader.read(); });
}

// For the first bytes of a file: whether a reader takes them for the start of a picture.
bool BeginsLikePicture(SecureBytes& bytes) {
    return ReadThenWipe<bool>(bytes, [](QImageReader& reader) { return reader.canRead(); });
}

void Tell(QWidget* owner, const QString& text) {
    CurrentPrompts().showMessage(owner, MessageIcon::Information, kMessageTitle, text);
}

} // namespace

ProtectedPictureView::ProtectedPictureView(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(kViewName);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    setMinimumSize(1, 1);
    fill_ = new QAction(tr("Riempi la finestra"), this);
    fill_->setObjectName(QStringLiteral("actFill"));
    fill_->setCheckable(true);
    fill_->setShortcut(QKeySequence(Qt::Key_F));
    fill_->setShortcutContext(Qt::WindowShortcut);
    connect(fill_, &QAction::toggled, this, [this] {
        fit();
        update();
    });
    addAction(fill_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

ProtectedPictureView::~ProtectedPictureView() {
    wipe();
}

bool ProtectedPictureView::TakesPath(const QString& path) {
    return !QuickViewWindow::acceptsPath(path) &&
           DetectFileKind(path.toStdString()) == FileKind::Protected;
}

void ProtectedPictureView::ShowSelected(UiState& state, const std::function<bool()>& ensurePassword,
                                        QWidget* owner, std::size_t mostBytes) {
    auto* view = owner->findChild<ProtectedPictureView*>(kViewName, Qt::FindDirectChildrenOnly);
    if (view && view->isVisible() && view->shownPath_ == state.selectedPath) {
        view->raise(); // a double click, or the same file again: no second restore
        return;
    }
    if (!ensurePassword()) return;
    SecureBytes bytes;
    const JobResult restored = RestoreSelected(state, mostBytes, bytes);
    if (restored.status == kStatusWrongPassword) state.forgetPassword(); // the next click asks
    const QString notAPicture = tr("Anteprima non disponibile per questo file");
    if (restored.failure.fault == Fault::MemoryLimit) {
        // Only the file's first bytes were kept: enough to tell a picture from anything else.
        const bool picture = BeginsLikePicture(bytes);
        return Tell(owner, picture ? tr("Immagine troppo grande per l'anteprima") : notAPicture);
    }
    if (!restored.Ok()) {
        const QString text = StatusMessageOf(restored.status, restored.failure);
        const JobMessage message = JobMessageFor(restored.status, text, state.messageGap);
        return CurrentPrompts().showMessage(owner, message.icon, message.title, message.text);
    }
    QImage picture = DecodePicture(bytes);
    if (picture.isNull()) return Tell(owner, notAPicture);
    if (!view) view = new ProtectedPictureView(owner);
    view->shownPath_ = state.selectedPath;
    view->showPicture(std::move(picture), RestoredName(state.selectedPath, restored.extension));
}

void ProtectedPictureView::showPicture(QImage picture, const QString& name) {
    wipe();
    picture_ = std::move(picture);
    name_ = name;
    if (isVisible()) {
        fit(); // a window on show keeps the size the user gave it
        update();
        return;
    }
    open();
    show();
}

void ProtectedPictureView::open() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    const QScreen* screen = owner ? owner->screen() : this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    const QSize frame(kFrameWidth, kFrameHeight);
    const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    const QSize least(title.horizontalAdvance(tr("%1 (file protetto)").arg(name_)) + kTitleBarRoom,
                      kLeastHeight);
    const QSize size = OpeningSize(picture_.size(), available.size() - frame, least);
    // Over the main window, and wholly on its screen.
    QRect placed(QPoint(), size + frame);
    placed.moveCenter(owner ? owner->frameGeometry().center() : available.center());
    placed.moveLeft(std::max(available.left(),
                             std::min(placed.left(), available.right() + 1 - placed.width())));
    placed.moveTop(std::max(available.top(),
                            std::min(placed.top(), available.bottom() + 1 - placed.height())));
    resize(size);
    move(placed.topLeft());
    fit();
}

void ProtectedPictureView::fit() {
    pictureArea_ = FitPicture(picture_.size(), size(), fill_->isChecked());
    const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    setWindowTitle(FitTitle(tr("%1 (file protetto)"), name_, width() - kTitleBarRoom, title));
}

void ProtectedPictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fit();
}

void ProtectedPictureView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close) ||
        event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_W)) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ProtectedPictureView::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (picture_.isNull()) return;
    // Drawn scaled from the one copy; no scaled copy is kept.
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(pictureArea_, picture_);
}

void ProtectedPictureView::closeEvent(QCloseEvent* event) {
    wipe();
    shownPath_.clear();
    pictureArea_ = QRect();
    repaint(); // the window's own backing store is painted over before it goes
    QWidget::closeEvent(event);
}

void ProtectedPictureView::wipe() {
    // bits() would give a copy of its own where the pixels are shared; the shared ones go too.
    if (!picture_.isNull())
        SecureWipe(const_cast<uchar*>(picture_.constBits()),
                   static_cast<std::size_t>(picture_.sizeInBytes()));
    picture_ = QImage();
}

} // namespace vw::ui
