// The desktop calls on a real session bus, answered by stand-ins for the file manager and the
// desktop portal registered in this process. Skipped without a session bus (run the tests
// under dbus-run-session to include them).
#include "ui/DesktopActions.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusUnixFileDescriptor>
#include <QDBusVirtualObject>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace vw::ui {
namespace {

// Serves service at path for its life, answering every call with reply and keeping the calls.
struct StandIn : QDBusVirtualObject {
    StandIn(const char* service, const char* path, QList<QVariant> reply)
        : service(service), path(path), reply(std::move(reply)) {
        EXPECT_TRUE(bus.registerVirtualObject(this->path, this));
        EXPECT_TRUE(bus.registerService(this->service));
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
    const QDBusMessage& show = fileManager.calls[0];
    EXPECT_EQ(show.interface() + "." + show.member() + " " + show.signature(),
              "org.freedesktop.FileManager1.ShowItemProperties ass");
    EXPECT_EQ(show.arguments().at(0).toStringList(), QStringList{url.toString(QUrl::FullyEncoded)});

    StandIn portal("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                   {QVariant::fromValue(QDBusObjectPath("/org/freedesktop/portal/request/1"))});
    QFile file(dir.filePath("data.xyz"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(DesktopShell().chooseApplication(file.fileName()));
    ASSERT_EQ(portal.calls.size(), 1u);
    const QDBusMessage& open = portal.calls[0];
    EXPECT_EQ(open.interface() + "." + open.member() + " " + open.signature(),
              "org.freedesktop.portal.OpenURI.OpenFile sha{sv}");
    struct stat sent {
    }, wanted{}; // the descriptor sent is the file's
    ASSERT_EQ(
        fstat(open.arguments().at(1).value<QDBusUnixFileDescriptor>().fileDescriptor(), &sent), 0);
    ASSERT_EQ(fstat(file.handle(), &wanted), 0);
    EXPECT_EQ(sent.st_ino, wanted.st_ino);
    EXPECT_EQ(qdbus_cast<QVariantMap>(open.arguments().at(2)).value("ask"), QVariant(true));
}

} // namespace
} // namespace vw::ui
