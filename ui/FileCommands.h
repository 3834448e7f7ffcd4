// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file commands behind the main window: choosing the file and the output path, holding a
// password, starting a job, the quick view, opening a file and showing its properties.
#include <QObject>
#include <QPointer>
#include <QString>

#include "ui/UiState.h"

namespace vw::ui {

class KeyDialog;
class MainWindow;
class ProgressDialog;
class QuickViewWindow;

class FileCommands : public QObject {
    Q_OBJECT
  public:
    FileCommands(UiState& state, MainWindow& mainWindow, KeyDialog& keyDialog,
                 ProgressDialog& progressDialog);
    ~FileCommands() override;

    // The open dialog; the chosen file becomes the selection.
    void SelectFile();
    // Makes path the selection as a choice in the open dialog does (also for dropped files).
    void SelectPath(const QString& path);
    // The save dialog; "" when cancelled.
    QString AskOutputPath();
    // True when a password is held, asking for one first when none is.
    bool EnsurePassword();
    // Output path, then the job in the progress dialog (the password first after a
    // command-line start).
    void StartCryptoJob();
    // The Encrypt/Decrypt command: EnsurePassword, then StartCryptoJob.
    void RunCryptoCommand();
    // Shows the selected picture in the quick-view window.
    void ShowQuickView();
    // The quick view follows a newly selected picture while it is open.
    void FollowPictureSelection();
    void OpenSelectedFile();
    void ShowFileProperties();
    // Shows the password dialog modally.
    void AskPassword();

    // The quick-view window, nullptr before its first use or after it was closed.
    QuickViewWindow* quickView() const;
    void closeQuickView();

    // The filters of the open and save dialogs, in the program's language.
    static QString OpenFilter();
    static QString SaveFilter();

  private:
    UiState& state_;
    MainWindow& mainWindow_;
    KeyDialog& keyDialog_;
    ProgressDialog& progressDialog_;
    QPointer<QuickViewWindow> quickView_;
};

} // namespace vw::ui
