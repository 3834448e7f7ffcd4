// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Program.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDir>
#include <QProgressBar>

#include "engine/cipher/PrivateCode.h"
#include "engine/io/Paths.h"
#include "platform/TextCodec.h"
#include "ui/DesktopActions.h"
#include "ui/Driver.h"
#include "ui/FileCommands.h"
#include "ui/InfoWindows.h"
#include "ui/KeyDialog.h"
#include "ui/MainWindow.h"
#include "ui/ProgressDialog.h"

namespace vw::ui {

QString CommandLinePath(const QStringList& arguments) {
    if (arguments.size() < 2) return {};
    // The whole command-line text names the file; the shell split it at blanks.
    QString path = arguments.mid(1).join(QLatin1Char(' '));
    // A path handed over in quotes (blanks in it) names the file without them.
    if (path.size() >= 2 && path.startsWith(QLatin1Char('"')) && path.endsWith(QLatin1Char('"'))) {
        path = path.mid(1, path.size() - 2);
    }
    return path;
}

Program::Program() {
    state_.messageGap = QStringLiteral("\n\n");
    mainWindow_ = std::make_unique<MainWindow>(state_);
    keyDialog_ = std::make_unique<KeyDialog>(state_);
    progressDialog_ = new ProgressDialog(state_, *mainWindow_);
    commands_ = std::make_unique<FileCommands>(state_, *mainWindow_, *keyDialog_, *progressDialog_);

    QProgressBar* bar = progressDialog_->progressBar();
    SetJobDisplay([bar](int percent) { bar->setValue(percent); },
                  [](bool busy) {
                      if (busy) {
                          QApplication::setOverrideCursor(Qt::WaitCursor);
                      } else {
                          QApplication::restoreOverrideCursor();
                      }
                  });
    connectCommands();
}

Program::~Program() {
    SetJobDisplay({}, {});
    commands_.reset();
    keyDialog_.reset();
    mainWindow_.reset();
}

void Program::connectCommands() {
    MainWindow* main = mainWindow_.get();
    FileCommands* commands = commands_.get();
    QObject::connect(main, &MainWindow::selectFileRequested, commands, &FileCommands::SelectFile);
    QObject::connect(main, &MainWindow::fileDropped, commands, &FileCommands::SelectPath);
    QObject::connect(main, &MainWindow::cryptoRequested, commands, &FileCommands::RunCryptoCommand);
    QObject::connect(main, &MainWindow::keyRequested, commands, &FileCommands::AskPassword);
    QObject::connect(main, &MainWindow::quickViewRequested, commands, &FileCommands::ShowQuickView);
    QObject::connect(main, &MainWindow::pictureSelected, commands,
                     &FileCommands::FollowPictureSelection);
    QObject::connect(main, &MainWindow::openRequested, commands, &FileCommands::OpenSelectedFile);
    QObject::connect(main, &MainWindow::propertiesRequested, commands,
                     &FileCommands::ShowFileProperties);
    QObject::connect(keyDialog_.get(), &KeyDialog::passwordAccepted, main,
                     &MainWindow::UpdateCommandStates);
    QObject::connect(main, &MainWindow::optionsRequested, main, [this] {
        ShowOptionsWindow({state_.newKeys, state_.startFolder, !state_.privateCode.isEmpty()},
                          mainWindow_.get());
    });
    QObject::connect(main, &MainWindow::helpRequested, main,
                     [main] { ShowHelpTopicsWindow(main); });
    QObject::connect(main, &MainWindow::aboutRequested, main, [main] { ShowAboutWindow(main); });
    QObject::connect(main, &MainWindow::partnerPageRequested, main,
                     [] { OpenWebPage(WebPage::Partner); });
    QObject::connect(main, &MainWindow::makerPageRequested, main,
                     [] { OpenWebPage(WebPage::Maker); });
    // "Esci" ends the program at once, without the unload step.
    QObject::connect(main, &MainWindow::exitRequested, main, [] { QCoreApplication::exit(0); });
    QObject::connect(main, &MainWindow::closing, main, [this] { unload(); });
}

void Program::unload() {
    keyDialog_->close();
    progressDialog_->close();
    commands_->closeQuickView();
}

void Program::Start(const QString& commandLinePath) {
    state_.newKeys = host_.ReadBool(QStringLiteral("NewKeys"), false);
    state_.startFolder = host_.ReadText(QStringLiteral("Folder"), QDir::homePath());
    state_.privateCode = FromCp1252(ReadPrivateCode(host_));
    if (!state_.privateCode.isEmpty()) {
        state_.usePcm = true;
        mainWindow_->setUsePcmChecked(true);
    }
    mainWindow_->show();
    mainWindow_->RefreshFilePanel();

    if (!commandLinePath.isEmpty()) {
        state_.selectedPath = commandLinePath;
        mainWindow_->showSelection(commandLinePath, QString());
        state_.currentFolder = QString::fromStdString(FolderOf(commandLinePath.toStdString()));
        state_.autoStart = true;
        mainWindow_->RefreshFilePanel();
        commands_->StartCryptoJob();
    } else {
        QDir::setCurrent(state_.startFolder); // a folder that cannot be made current is skipped
        state_.currentFolder = state_.startFolder;
    }
    state_.autoStart = false;
}

} // namespace vw::ui
