// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The desktop program: the shared state, the three windows, the file commands and the
// engine's host, and the start sequence.
#include <QString>
#include <QStringList>
#include <memory>

#include "platform/QtHost.h"
#include "ui/UiState.h"

namespace vw::ui {

class FileCommands;
class KeyDialog;
class MainWindow;
class ProgressDialog;

// The path given on the command line: the arguments after the program's name (Qt has removed
// its own options) joined by single blanks, as the shell split an unquoted path with blanks,
// without surrounding double quotes; "" when there is none.
QString CommandLinePath(const QStringList& arguments);

class Program {
  public:
    // Sets the gap text and creates frmMain, frmKey and frmProgress (none shown), and installs
    // the engine's host.
    Program();
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The rest of the start sequence: settings, the stored private code, the main window,
    // and the command-line file with its protect/restore sequence.
    void Start(const QString& commandLinePath);

    UiState& state() { return state_; }
    QtHost& host() { return host_; }
    MainWindow& mainWindow() { return *mainWindow_; }
    KeyDialog& keyDialog() { return *keyDialog_; }
    ProgressDialog& progressDialog() { return *progressDialog_; }
    FileCommands& commands() { return *commands_; }

  private:
    void connectCommands();
    void unload();

    UiState state_;
    QtHost host_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::unique_ptr<KeyDialog> keyDialog_;
    ProgressDialog* progressDialog_ = nullptr; // owned by the main window
    std::unique_ptr<FileCommands> commands_;
};

} // namespace vw::ui
