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
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariantMap>
#include <gtest/gtest.h>

#include <optional>
#include <sys/stat.h>

namespace vw::ui {
namespace {

// Answers every call on its path with an empty reply and remembers the last one.
class StandIn : public QDBusVirtualObject {
  public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls.push_back(message);
        connection.send(message.createReply(replyArguments));
        return true;
    }
    std::vector<QDBusMessage> calls;
    QList<QVariant> replyArguments;
};

class DesktopBusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!bus.isConnected()) GTEST_SKIP() << "no session bus";
    }
    void TearDown() override {
        for (const QString& name : services)
            bus.unregisterService(name);
        for (const QString& path : paths)
            bus.unregisterObject(path);
    }
    void serve(const QString& service, const QString& path, StandIn* object) {
        ASSERT_TRUE(bus.registerVirtualObject(path, object));
        paths << path;
        ASSERT_TRUE(bus.registerService(service));
        services << service;
    }
    static std::optional<bool> waitFor(std::optional<bool>& answer) {
        QElapsedTimer clock;
        clock.start();
        while (!answer && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        return answer;
    }
    QString touch(const QString& name) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    QStringList services;
    QStringList paths;
    QTemporaryDir dir;
};

TEST_F(DesktopBusTest, FileManagerIsAskedForTheItemProperties) {
    StandIn fileManager;
    serve("org.freedesktop.FileManager1", "/org/freedesktop/FileManager1", &fileManager);
    const QUrl url = QUrl::fromLocalFile(dir.filePath("a b.txt"));
    std::optional<bool> answer;
    DesktopShell().showItemProperties(url, [&](bool shown) { answer = shown; });
    ASSERT_EQ(waitFor(answer), std::optional<bool>(true));
    ASSERT_EQ(fileManager.calls.size(), 1u);
    const QDBusMessage& call = fileManager.calls[0];
    EXPECT_EQ(call.interface(), "org.freedesktop.FileManager1");
    EXPECT_EQ(call.member(), "ShowItemProperties");
    EXPECT_EQ(call.signature(), "ass");
    EXPECT_EQ(call.arguments().at(0).toStringList(), QStringList{url.toString(QUrl::FullyEncoded)});
}

TEST_F(DesktopBusTest, PortalGetsTheOpenFileAndIsToldToAsk) {
    StandIn portal;
    portal.replyArguments << QVariant::fromValue(
        QDBusObjectPath("/org/freedesktop/portal/desktop/request/1/vw"));
    serve("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", &portal);
    const QString path = touch("data.xyz123");

    EXPECT_TRUE(DesktopShell().chooseApplication(path));
    ASSERT_EQ(portal.calls.size(), 1u);
    const QDBusMessage& call = portal.calls[0];
    EXPECT_EQ(call.interface(), "org.freedesktop.portal.OpenURI");
    EXPECT_EQ(call.member(), "OpenFile");
    EXPECT_EQ(call.signature(), "sha{sv}");
    const auto descriptor = call.arguments().at(1).value<QDBusUnixFileDescriptor>();
    ASSERT_TRUE(descriptor.isValid());
    struct stat sent {
    }, wanted{};
    ASSERT_EQ(fstat(descriptor.fileDescriptor(), &sent), 0);
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &wanted), 0);
    EXPECT_EQ(sent.st_ino, wanted.st_ino);
    const QVariantMap options = qdbus_cast<QVariantMap>(call.arguments().at(2));
    EXPECT_EQ(options.value("ask"), QVariant(true));
}

} // namespace
} // namespace vw::ui
