// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProtectedPictureView.h"

#include <QBuffer>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QImageReader>
#include <QPainter>

#include "engine/Driver.h"
#include "engine/Host.h"
#include "engine/JobState.h"
#include "engine/Paths.h"
#include "engine/ProtectedFile.h"
#include "platform/TextCodec.h"
#include "platform/Translation.h"
#include "ui/AppInfo.h"
#include "ui/JobMessages.h"
#include "ui/Prompts.h"
#include "ui/QuickView.h"
#include "ui/QuickViewSizing.h"
#include "ui/Twips.h"

namespace vw::ui {
namespace {

// The most a protected file may restore to for its quick view; a larger one is not restored.
constexpr std::size_t kMostPictureBytes = std::size_t{256} << 20;

const QString kViewName = QStringLiteral("frmProtectedView");

// The host while a picture is restored: pending events run without the user's input, which
// waits until the restore is over. The restore has no Cancel, and a click meanwhile must not
// start another job on the engine's one cipher.
class InputHeldHost : public Host {
  public:
    void ProcessEvents() override {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    void SetBusy(bool busy) override { outer_.SetBusy(busy); }
    std::string ReadSetting(const std::string& key, const std::string& defaultValue) override {
        return outer_.ReadSetting(key, defaultValue);
    }
    std::string ComputerName() override { return outer_.ComputerName(); }

  private:
    Host& outer_ = CurrentHost();
    ScopedHost scope_{*this};
};

// Restores the selected file with the held password and the private code in use.
std::int16_t RestoreSelected(const UiState& state, RestoredBytes& restored) {
    std::string password = ToCp1252(state.password);
    std::string privateCode = ToCp1252(state.usePcm ? state.privateCode : QString());
    InputHeldHost host;
    const std::int16_t status = RestoreIntoMemory(state.selectedPath.toStdString(), password,
                                                  privateCode, kMostPictureBytes, restored);
    SecureWipe(password);
    SecureWipe(privateCode);
    return status;
}

// The name the restored file would take: the protected file's name with the stored extension.
QString RestoredName(const QString& path, const std::string& extension) {
    const QString base = QString::fromStdString(FileNameOf(WithoutExtension(path.toStdString())));
    return extension.empty() ? base : base + QLatin1Char('.') + FromCp1252(extension);
}

// Decodes the restored bytes where they lie (the device keeps no buffer of its own), then wipes
// them: from here on the decoded pixels are the picture's only copy.
QImage DecodePicture(SecureBytes& bytes) {
    QByteArray raw = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size()));
    QBuffer device(&raw);
    device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    QImageReader reader(&device);
    reader.setAutoTransform(true);
    QImage picture = reader.read();
    SecureWipe(bytes.data(), bytes.size());
    return picture;
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
}

ProtectedPictureView::~ProtectedPictureView() {
    wipe();
}

bool ProtectedPictureView::TakesPath(const QString& path) {
    return !QuickViewWindow::acceptsPath(path) &&
           DetectFileKind(path.toStdString()) == FileKind::Protected;
}

void ProtectedPictureView::ShowSelected(UiState& state, const std::function<bool()>& ensurePassword,
                                        QWidget* owner) {
    auto* view = owner->findChild<ProtectedPictureView*>(kViewName, Qt::FindDirectChildrenOnly);
    if (view && view->isVisible() && view->shownPath_ == state.selectedPath) {
        view->raise(); // a double click, or the same file again: no second restore
        return;
    }
    if (!ensurePassword()) return;
    RestoredBytes restored;
    const std::int16_t status = RestoreSelected(state, restored);
    if (status == kStatusWrongPassword) state.forgetPassword(); // the next click asks again
    if (restored.tooLarge) return Tell(owner, tr("Immagine troppo grande per l'anteprima"));
    if (status != kStatusOk) {
        const JobMessage message = JobMessageFor(status, StatusMessageText(), state.messageGap);
        return CurrentPrompts().showMessage(owner, message.icon, message.title, message.text);
    }
    const QString name = RestoredName(state.selectedPath, restored.extension);
    QImage picture = QuickViewWindow::acceptsPath(name) ? DecodePicture(restored.bytes) : QImage();
    if (picture.isNull()) return Tell(owner, tr("Anteprima non disponibile per questo file"));
    if (!view) view = new ProtectedPictureView(owner);
    view->shownPath_ = state.selectedPath;
    view->showPicture(std::move(picture), tr("%1 (file protetto)").arg(name));
}

void ProtectedPictureView::showPicture(QImage picture, const QString& title) {
    const bool wasVisible = isVisible();
    const QuickViewLayout layout =
        ComputeQuickViewLayout({PixelsToTwips(width()), PixelsToTwips(height()), wasVisible,
                                PictureRatio(picture.width(), picture.height())});
    wipe();
    picture_ = std::move(picture);
    resize(TwipsToPixels(layout.windowWidth), TwipsToPixels(layout.windowHeight));
    pictureArea_ = QRect(TwipsToPixels(layout.pictureLeft), TwipsToPixels(layout.pictureTop),
                         TwipsToPixels(layout.pictureWidth), TwipsToPixels(layout.pictureHeight));
    setWindowTitle(title);
    update();
    if (!wasVisible) show();
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
