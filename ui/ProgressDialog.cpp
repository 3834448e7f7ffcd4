// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "engine/io/Paths.h"
#include "platform/TextCodec.h"
#include "ui/Artwork.h"
#include "ui/Driver.h"
#include "ui/JobMessages.h"
#include "ui/MainWindow.h"
#include "ui/OutputChoice.h"
#include "ui/Prompts.h"

namespace vw::ui {
namespace {

constexpr int kDialogWidth = 333;
constexpr int kDialogHeight = 169;
constexpr int kIconSize = 32;

void ProcessPendingEvents() {
    QCoreApplication::processEvents();
}

} // namespace

ProgressDialog::ProgressDialog(UiState& state, MainWindow& mainWindow)
    : QDialog(&mainWindow), state_(state), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(tr("Attendere....."));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kDialogWidth, kDialogHeight);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

    auto* image1 = new QLabel(this);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(16, 14, kIconSize, kIconSize);
    image1->setPixmap(ProgramIcon().pixmap(kIconSize, kIconSize));
    auto* label1 = new QLabel(tr("Avanzamento operazione"), this);
    label1->setGeometry(60, 20, 257, 20);
    QFont heading = label1->font();
    heading.setBold(true);
    label1->setFont(heading);

    lblName_ = new QLabel(this);
    lblName_->setObjectName(QStringLiteral("lblName"));
    lblName_->setGeometry(16, 58, 301, 20);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setTextVisible(false);
    progressBar_->setGeometry(16, 86, 301, 20);
    label1->setBuddy(progressBar_); // names the bar for assistive tools
    cmdCancel_ = new QPushButton(tr("Interrompi"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setGeometry(121, 122, 91, 30);
    cmdCancel_->setDefault(true);
    cmdCancel_->setAutoDefault(true);
    connect(cmdCancel_, &QPushButton::clicked, this, &ProgressDialog::requestCancel);
}

void ProgressDialog::requestCancel() {
    CancelRequested = true;
}

void ProgressDialog::reject() {
    cmdCancel_->click();
}

void ProgressDialog::closeEvent(QCloseEvent* event) {
    // No close box: a close request from the window manager asks the job to stop instead.
    event->ignore();
    requestCancel();
}

void ProgressDialog::centreOnScreen() {
    const QScreen* screen = mainWindow_.screen();
    if (screen == nullptr) return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
}

void ProgressDialog::showEvent(QShowEvent* event) {
    // Before the window appears, and instead of the dialog's place over its owner.
    centreOnScreen();
    QDialog::showEvent(event);
    activated_ = false;
    cmdCancel_->setFocus();
    // Activation: the job runs once the modal showing has its event loop.
    QTimer::singleShot(0, this, &ProgressDialog::activate);
}

void ProgressDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    activated_ = false;
}

void ProgressDialog::activate() {
    if (activated_ || !isVisible()) return;
    activated_ = true;
    setWindowTitle(QString());
    lblName_->clear();
    lblName_->repaint();
    runJob();
    actOnStatus();
    ProcessPendingEvents();
    repaint();
    lblName_->repaint();
    ProcessPendingEvents();
    mainWindow_.UpdateCommandStates();
    hide();
    // The keyboard goes back to the main window: after a message box over this dialog, the
    // window manager may give the focus to no window once both are gone.
    mainWindow_.activateWindow();
}

void ProgressDialog::runJob() {
    ProcessPendingEvents();
    setWindowTitle(tr(" Elaborazione in corso... "));
    const QString name = QString::fromStdString(FileNameOf(state_.selectedPath.toStdString()));
    lblName_->setText(tr("Attendere... %1 ...").arg(name));
    // "Use PCM" unticked: the job is keyed by the password alone.
    const QString privateCode = state_.usePcm ? state_.privateCode : QString();
    state_.resultPath = QString::fromStdString(
        ProcessFile(state_.selectedPath.toStdString(), state_.outputPath.toStdString(),
                    ToCp1252(state_.password), ToCp1252(privateCode),
                    Overwrite::OnlyConfirmed(state_.replaceConfirmed.toStdString())));
}

void ProgressDialog::actOnStatus() {
    const std::int16_t status = JobStatus;
    if (status != 0) {
        if (status == kStatusWrongPassword) state_.forgetPassword(); // the next try asks again
        const JobMessage message =
            ExistingOutputPath.empty()
                ? JobMessageFor(status, QString::fromStdString(StatusMessage), state_.messageGap)
                : ReplaceRefusedMessage(QString::fromStdString(ExistingOutputPath));
        CurrentPrompts().showMessage(this, message.icon, message.title, message.text);
        return;
    }
    ProcessPendingEvents();
    if (state_.outputPath == state_.selectedPath) {
        state_.outputPath = state_.resultPath;
        state_.selectedPath = state_.resultPath;
        mainWindow_.showSelection(state_.selectedPath, QString());
    } else {
        state_.outputPath = state_.resultPath;
    }
    mainWindow_.RefreshFilePanel();
}

} // namespace vw::ui
