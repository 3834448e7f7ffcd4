// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FileCommands.h"
#include "ui/AppInfo.h"

#include "engine/io/Paths.h"
#include "ui/DesktopActions.h"
#include "ui/KeyDialog.h"
#include "ui/MainWindow.h"
#include "ui/OutputChoice.h"
#include "ui/ProgressDialog.h"
#include "ui/Prompts.h"
#include "ui/ProtectedPictureView.h"
#include "ui/QuickView.h"

namespace vw::ui {
namespace {

QString FolderPart(const QString& path) {
    return QString::fromStdString(FolderOf(path.toStdString()));
}

} // namespace

FileCommands::FileCommands(UiState& state, MainWindow& mainWindow, KeyDialog& keyDialog,
                           ProgressDialog& progressDialog)
    : state_(state), mainWindow_(mainWindow), keyDialog_(keyDialog),
      progressDialog_(progressDialog) {}

FileCommands::~FileCommands() {
    delete quickView_.data();
}

QString FileCommands::OpenFilter() {
    return tr("Tutti i files (*.*);; (*.vwx)");
}

QString FileCommands::SaveFilter() {
    return tr("Tutti i files (*.*)");
}

void FileCommands::SelectFile() {
    const QString chosen = CurrentPrompts().askOpenFile(&mainWindow_, tr("Seleziona File..."),
                                                        state_.currentFolder, OpenFilter());
    if (chosen.isEmpty()) return; // cancelled: nothing changes
    SelectPath(chosen);
}

void FileCommands::SelectPath(const QString& path) {
    if (state_.newKeys) state_.forgetPassword();
    state_.selectedPath = path;
    state_.currentFolder = FolderPart(path);
    mainWindow_.showSelection(path, kMessageTitle + QLatin1Char(' '));
    mainWindow_.RefreshFilePanel();
}

QString FileCommands::AskOutputPath() {
    const QString chosen = CurrentPrompts().askSaveFile(&mainWindow_, tr("Salva file..."),
                                                        state_.currentFolder, SaveFilter());
    if (chosen.isEmpty()) return {};
    state_.currentFolder = FolderPart(chosen);
    return chosen;
}

bool FileCommands::EnsurePassword() {
    if (!state_.password.isEmpty()) return true;
    AskPassword();
    return !state_.password.isEmpty();
}

void FileCommands::AskPassword() {
    keyDialog_.exec();
}

void FileCommands::StartCryptoJob() {
    if (state_.autoStart) {
        state_.autoStart = false;
        AskPassword();
        if (state_.password.isEmpty()) return;
    }
    if (!ChooseOutput(
            state_, [this] { return AskOutputPath(); }, &mainWindow_, tr("Salva file...")))
        return;
    progressDialog_.exec();
}

void FileCommands::RunCryptoCommand() {
    if (EnsurePassword()) StartCryptoJob();
}

void FileCommands::ShowQuickView() {
    if (ProtectedPictureView::TakesPath(state_.selectedPath))
        return ProtectedPictureView::ShowSelected(
            state_, [this] { return EnsurePassword(); }, &mainWindow_);
    if (!QuickViewWindow::acceptsPath(state_.selectedPath)) return;
    if (!quickView_) {
        quickView_ = new QuickViewWindow();
        quickView_->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    quickView_->showPicture(state_.selectedPath, &mainWindow_);
}

void FileCommands::FollowPictureSelection() {
    if (quickView_ && quickView_->isVisible()) ShowQuickView();
}

QuickViewWindow* FileCommands::quickView() const {
    return quickView_.data();
}

void FileCommands::closeQuickView() {
    if (quickView_) quickView_->close();
}

void FileCommands::OpenSelectedFile() {
    vw::ui::OpenSelectedFile(state_.selectedPath);
}

void FileCommands::ShowFileProperties() {
    vw::ui::ShowFileProperties(state_.selectedPath, &mainWindow_);
}

} // namespace vw::ui
