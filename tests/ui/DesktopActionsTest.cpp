// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening files and their properties, the desktop's bus calls, and the save dialog.
#include <QtDBus>
#include <sys/stat.h>

#include "UiTestSupport.h"
#include "ui/DesktopActions.h"
#include "ui/PropertiesWindow.h"

namespace vw::ui::test {

struct ScriptedShell : DesktopShell {
    ScriptedShell() { SetDesktopShell(this); }
    ~ScriptedShell() override { SetDesktopShell(nullptr); }
    bool openUrl(const QUrl& url, const QString& verb) override {
        opened.push_back(url.toLocalFile() + " " + verb);
        return answer;
    }
    bool chooseApplication(const QString& path) override {
        opened.push_back(path + " chooser");
        return answer;
    }
    void showItemProperties(const QUrl&, std::function<void(bool)> done) override { done(answer); }
    bool answer = true; // of the opener, the chooser and the file manager
    QStringList opened;
};

// A file opens with its verb, else through the chooser, else the user is told; the properties
// come from the file manager, else from a window of our own. No file: nothing happens.
TEST(DesktopActions, EachFallbackInTurn) {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    ScriptedShell shell;
    QWidget owner;
    const QString song = WriteFile(QDir(dir.path()), "song.Mp3", QByteArray(2048, 'x'));
    for (const bool opens : {true, false}) {
        shell.answer = opens;
        OpenSelectedFile(song);
        OpenSelectedFile(dir.filePath("gone.txt"));
        EXPECT_EQ(ShowFileProperties(song, &owner), kPropertiesShown);
    }
    EXPECT_EQ(shell.opened, QStringList({song + " play", song + " play", song + " chooser"}));
    const auto windows = owner.findChildren<QDialog*>(u"frmProperties"_s);
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0]->findChildren<QLabel*>().first()->pixmap().size(), QSize(32, 32)); // icon
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, u"Tipo File Sconosciuto"_s);
    // Our own window closes on Escape and on its Close button.
    for (const bool escape : {true, false}) {
        QPointer<PropertiesWindow> window = ShowPropertiesWindow(song, &owner);
        escape ? QTest::keyClick(window, Qt::Key_Escape)
               : Child<QPushButton>(window, "cmdClose")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(window.isNull()) << escape;
    }
}

// Serves service at path for its life, answering every call with reply and keeping the calls.
struct StandIn : QDBusVirtualObject {
    StandIn(const char* name, const char* at, QList<QVariant> answer)
        : service(name), path(at), reply(std::move(answer)) {
        EXPECT_TRUE(bus.registerVirtualObject(path, this));
        EXPECT_TRUE(bus.registerService(service));
    }
    ~StandIn() override {
        bus.unregisterService(service);
        bus.unregisterObject(path);
    }
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls.push_back(message);
        connection.send(message.createReply(reply));
        return true;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    QString service, path;
    QList<QVariant> reply;
    std::vector<QDBusMessage> calls;
};

static QString WireSignature(const QDBusMessage& call) {
    return call.interface() + "." + call.member() + " " + call.signature();
}

// Stand-ins for the file manager and the portal; skipped without a session bus (dbus-run-session).
TEST(DesktopBusTest, FileManagerAndPortalGetTheirWireSignatures) {
    if (!QDBusConnection::sessionBus().isConnected()) GTEST_SKIP() << "no session bus";
    QTemporaryDir dir;
    StandIn fileManager("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1", {});
    const QUrl url = QUrl::fromLocalFile(dir.filePath("a b.txt"));
    std::optional<bool> shown;
    DesktopShell().showItemProperties(url, [&](bool answer) { shown = answer; });
    for (int i = 0; !shown && i < 100; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(shown, std::optional<bool>(true));
    ASSERT_EQ(fileManager.calls.size(), 1u);
    EXPECT_EQ(WireSignature(fileManager.calls[0]),
              "org.freedesktop.FileManager1.ShowItemProperties ass");
    EXPECT_EQ(fileManager.calls[0].arguments().at(0).toStringList(),
              QStringList{url.toString(QUrl::FullyEncoded)});
    StandIn portal("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                   {QVariant::fromValue(QDBusObjectPath("/org/freedesktop/portal/request/1"))});
    QFile file(dir.filePath("data.xyz"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(DesktopShell().chooseApplication(file.fileName()));
    ASSERT_EQ(portal.calls.size(), 1u);
    const QDBusMessage& open = portal.calls[0];
    EXPECT_EQ(WireSignature(open), "org.freedesktop.portal.OpenURI.OpenFile sha{sv}");
    struct stat sent = {}, wanted = {}; // the descriptor sent is the file's
    fstat(open.arguments().at(1).value<QDBusUnixFileDescriptor>().fileDescriptor(), &sent);
    EXPECT_TRUE(fstat(file.handle(), &wanted) == 0 && sent.st_ino == wanted.st_ino);
    EXPECT_EQ(qdbus_cast<QVariantMap>(open.arguments().at(2)).value("ask"), QVariant(true));
}

// Jobs replace an existing result without asking: the save dialog is where the user says yes.
TEST(SaveDialog, AsksBeforeReplacingAnExistingFile) {
    QTemporaryDir dir;
    const QString existing = WriteFile(QDir(dir.path()), u"a.txt"_s, "a");
    QString question;
    bool chosen = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && !chosen) {
            // Typed as a user would (selecting needs the folder's listing, which comes late).
            dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText("a.txt");
            chosen = dialog->selectedFiles() == QStringList{existing};
            if (chosen)
                QMetaObject::invokeMethod(static_cast<QDialog*>(dialog), &QDialog::accept,
                                          Qt::QueuedConnection);
        }
    });
    answer.start(10);
    EXPECT_EQ(
        Prompts().askSaveFile(nullptr, u"Salva file..."_s, dir.path(), u"Tutti i files (*.*)"_s),
        existing);
    EXPECT_TRUE(question.contains(u"a.txt"_s)) << question.toStdString();
}

} // namespace vw::ui::test
