// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/DesktopActions.h"

#include "engine/io/Paths.h"
#include "ui/AppInfo.h"
#include "ui/PathTail.h"
#include "ui/Prompts.h"
#include "ui/PropertiesWindow.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>

#include <fcntl.h>
#include <unistd.h>

namespace vw::ui {

namespace {

const char* const kPlayedExtensions[] = {".WAV", ".MP2", ".MP3", ".MID", ".AVI"};

constexpr int kPortalTimeoutMs = 3000;
constexpr int kFileManagerTimeoutMs = 2000;

DesktopShell* installedShell = nullptr;

bool Exists(const QString& path) {
    return !path.isEmpty() && vw::FileExists(path.toStdString());
}

QUrl FileUrl(const QString& path) {
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
}

} // namespace

bool DesktopShell::openUrl(const QUrl& url, const QString& /*verb*/) {
    // The desktop has one way of opening a document; media files go to their player.
    return QDesktopServices::openUrl(url);
}

bool DesktopShell::chooseApplication(const QString& path) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return false;
    // Local files go to the portal's OpenFile as an open descriptor; its OpenURI refuses
    // file: addresses.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const QDBusUnixFileDescriptor descriptor(fd);
    ::close(fd);
    QDBusMessage call = QDBusMessage::createMethodCall(
        "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
        "org.freedesktop.portal.OpenURI", "OpenFile");
    QVariantMap options;
    options.insert("ask", true);
    call << QString() << QVariant::fromValue(descriptor) << options;
    const QDBusMessage reply = bus.call(call, QDBus::Block, kPortalTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage;
}

void DesktopShell::showItemProperties(const QUrl& fileUrl, std::function<void(bool)> done) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        done(false);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
        "org.freedesktop.FileManager1", "ShowItemProperties");
    call << QStringList{fileUrl.toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kFileManagerTimeoutMs), qApp);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, qApp,
                     [watcher, done = std::move(done)] {
                         const bool shown = !watcher->isError();
                         watcher->deleteLater();
                         done(shown);
                     });
}

DesktopShell& CurrentDesktopShell() {
    static DesktopShell desktop;
    return installedShell ? *installedShell : desktop;
}

void SetDesktopShell(DesktopShell* shell) {
    installedShell = shell;
}

QString ShellVerbFor(const QString& path) {
    const QString tail = PathTail(path);
    for (const char* ext : kPlayedExtensions) {
        if (tail == QLatin1String(ext)) return QStringLiteral("play");
    }
    return QStringLiteral("open");
}

void OpenSelectedFile(const QString& path) {
    const QString verb = ShellVerbFor(path);
    if (!Exists(path)) return;
    DesktopShell& shell = CurrentDesktopShell();
    if (shell.openUrl(FileUrl(path), verb)) return;
    if (shell.chooseApplication(path)) return;
    CurrentPrompts().showMessage(
        nullptr, MessageIcon::Information, kMessageTitle,
        QCoreApplication::translate("vw::ui::DesktopActions", "Tipo File Sconosciuto"));
}

int ShowFileProperties(const QString& path, QWidget* owner) {
    if (!Exists(path)) return kPropertiesNotShown;
    QPointer<QWidget> guardedOwner(owner);
    CurrentDesktopShell().showItemProperties(FileUrl(path), [path, guardedOwner](bool shown) {
        if (!shown) ShowPropertiesWindow(path, guardedOwner.data());
    });
    return kPropertiesShown;
}

QString WebPageAddress(WebPage page) {
    return QString::fromLatin1(page == WebPage::Maker ? kMakerPageAddress : kPartnerPageAddress);
}

void OpenWebPage(WebPage page) {
    CurrentDesktopShell().openUrl(QUrl(WebPageAddress(page)), QStringLiteral("open"));
}

} // namespace vw::ui
