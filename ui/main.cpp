// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: one optional argument, the file to protect or restore.
#include <QApplication>
#include <QTimer>

#include "platform/CoreDumps.h"
#include "platform/StandardStreams.h"
#include "platform/Translation.h"
#include "ui/Program.h"
#include "vw/Version.h"

int main(int argc, char** argv) {
    // Before anything else: no file may take the number of a closed standard stream, and a core
    // dump during a job would hold the password.
    vw::OpenMissingStandardStreams();
    vw::DisableCoreDumps();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vaultwise"));
    // The launcher's name, by which the desktop shell ties the windows to it and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(vw::kAppId));
    // The locale picks the language; Qt's own dialogs (file dialogs, their questions) speak it too.
    vw::InstallTranslation(true);
    const QString path = vw::ui::CommandLinePath(QApplication::arguments());
    vw::ui::Program program;
    // The start sequence runs inside the event loop, so its modal dialogs behave as usual.
    QTimer::singleShot(0, [&program, path] { program.Start(path); });
    return QApplication::exec();
}
