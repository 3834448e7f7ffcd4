#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "engine/Cipher.h"
#include "engine/JobState.h"
#include "engine/PrivateCode.h"
#include "platform/CoreDumps.h"
#include "platform/QtHost.h"
#include "platform/TextCodec.h"

namespace vw {
namespace {

// Points the per-user settings at a scratch folder, so the real user's are never touched,
// and writes each test's settings file by hand where the host must find it.
class QtHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vwplatform-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(dir_.string()));
        // A name of its own per test, so no settings file cached by an earlier test is read.
        app_ = std::string("vwtest-") +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    void WriteSettings(const std::string& text) {
        std::filesystem::create_directories(dir_ / app_);
        std::ofstream(dir_ / app_ / (app_ + ".conf"), std::ios::binary) << text;
    }
    QString App() const { return QString::fromStdString(app_); }

    std::filesystem::path dir_;
    std::string app_;
};

TEST_F(QtHostTest, ReadsTheConfigGroupOfTheApplicationsSettings) {
    WriteSettings("[Other]\nOFB=wrong\n\n[Config]\nOFB=A1b2\nFolder=/home/u/docs\n");
    QtHost host(App());
    EXPECT_EQ(host.ReadSetting("OFB", "x"), "A1b2");
    EXPECT_EQ(host.ReadSetting("Folder", "c:/"), "/home/u/docs");
    EXPECT_EQ(host.ReadSetting("Missing", "default"), "default");
    EXPECT_EQ(host.ReadText(QStringLiteral("Missing"), QStringLiteral("c:/")), "c:/");
}

TEST_F(QtHostTest, NoSettingsFileGivesDefaultsAndTheDefaultApplicationIsVaultwise) {
    QtHost none(App());
    EXPECT_EQ(none.ReadSetting("OFB", ""), "");
    EXPECT_TRUE(none.ReadBool(QStringLiteral("NewKeys"), true));
    EXPECT_FALSE(none.ReadBool(QStringLiteral("NewKeys"), false));
    app_ = "vaultwise";
    WriteSettings("[Config]\nOFB=0102\n");
    EXPECT_EQ(QtHost().ReadSetting("OFB", ""), "0102");
}

TEST_F(QtHostTest, SystemWideSettingsAreNeverConsulted) {
    // Both places a system-wide file could supply a value from: per application and per
    // organisation (here the same name).
    const std::filesystem::path system = dir_ / "system";
    std::filesystem::create_directories(system / app_);
    for (const auto& conf : {system / (app_ + ".conf"), system / app_ / (app_ + ".conf")})
        std::ofstream(conf, std::ios::binary) << "[Config]\nOFB=0102\nFolder=/etc/x\n";
    ::setenv("XDG_CONFIG_DIRS", system.c_str(), 1);
    QtHost host(App());
    EXPECT_EQ(host.ReadSetting("OFB", ""), "");
    EXPECT_EQ(host.ReadText(QStringLiteral("Folder"), QStringLiteral("home")), "home");
    WriteSettings("[Config]\nFolder=/home/u\n"); // the user's own file is read
    EXPECT_EQ(QtHost(App()).ReadText(QStringLiteral("Folder"), {}), "/home/u");
    ::unsetenv("XDG_CONFIG_DIRS");
}

TEST_F(QtHostTest, TextSettingsKeepNonAsciiAndCommas) {
    WriteSettings("[Config]\nFolder=/home/u/Perch\xC3\xA9\nList=/a,b\n");
    QtHost host(App());
    EXPECT_EQ(host.ReadText(QStringLiteral("Folder"), {}), QStringLiteral("/home/u/Perch\u00E9"));
    EXPECT_EQ(host.ReadSetting("Folder", ""), "/home/u/Perch\xE9"); // code-page byte
    EXPECT_EQ(host.ReadText(QStringLiteral("List"), {}), QStringLiteral("/a,b"));
}

TEST_F(QtHostTest, BooleansStoredAsText) {
    WriteSettings(
        "[Config]\nA=1\nB=-1\nC=True\nD= TRUE \nE=0.1\nF=0\nG=False\nH=yes\nI=\nJ=0.0\nK=on\n");
    QtHost host(App());
    for (const char* key : {"A", "B", "C", "D", "E"})
        EXPECT_TRUE(host.ReadBool(QString::fromLatin1(key), false)) << key;
    for (const char* key : {"F", "G", "H", "I", "J", "K"})
        EXPECT_FALSE(host.ReadBool(QString::fromLatin1(key), true)) << key;
}

TEST_F(QtHostTest, PrivateCodeStoredForThisComputerDecrypts) {
    QtHost host(App());
    std::string key = host.ComputerName();
    if (key.empty()) key = kPrivateCodeFallbackKey;
    const std::string code = "Chiave privata \x80";
    InitCipher(key, "");
    std::string hex;
    for (const char c : code) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", EncryptByte(static_cast<std::uint8_t>(c)));
        hex += pair;
    }
    WriteSettings("[Config]\nOFB=" + hex + "\n");
    ScopedHost scope(host);
    EXPECT_EQ(ReadPrivateCode(), code);
}

TEST_F(QtHostTest, ComputerNameIsTheHostName) {
    char name[256] = {};
    ASSERT_EQ(::gethostname(name, sizeof name - 1), 0);
    QtHost host(App());
    EXPECT_EQ(host.ComputerName(), ToCp1252(QString::fromLocal8Bit(name)));
    EXPECT_EQ(host.ComputerName().empty(), name[0] == '\0');
}

TEST_F(QtHostTest, ForwardsProgressBusyAndEvents) {
    QtHost host(App());
    host.ShowProgress(5); // nothing set: ignored
    host.SetBusy(true);
    host.ProcessEvents(); // no application object: only the callback would run

    std::vector<int> progress;
    std::vector<bool> busy;
    int events = 0;
    host.onProgress = [&](int p) { progress.push_back(p); };
    host.onBusy = [&](bool b) { busy.push_back(b); };
    host.onEvents = [&] { ++events; };
    {
        ScopedHost scope(host);
        ReportProgress(120); // through the engine: clamped to 100
        ReportProgress(0);   // never sent
        ReportProgress(42);
        CurrentHost().SetBusy(true);
        CurrentHost().SetBusy(false);
        CurrentHost().ProcessEvents();
    }
    EXPECT_EQ(progress, (std::vector<int>{100, 42}));
    EXPECT_EQ(busy, (std::vector<bool>{true, false}));
    EXPECT_EQ(events, 1);
}

TEST_F(QtHostTest, ProcessEventsRunsPendingQtEvents) {
    int argc = 1;
    char arg0[] = "platform_tests";
    char* argv[] = {arg0, nullptr};
    QCoreApplication app(argc, argv);
    bool ran = false;
    QTimer::singleShot(0, &app, [&] { ran = true; });
    QtHost host(App());
    host.ProcessEvents();
    EXPECT_TRUE(ran);
}

TEST(CoreDumps, TheProcessBecomesNonDumpable) {
    // In a child, so the test program itself keeps its dumps.
    const pid_t child = ::fork();
    if (child == 0) ::_exit(DisableCoreDumps() && ::prctl(PR_GET_DUMPABLE) == 0 ? 0 : 1);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(TextCodec, ConvertsToAndFromTheCodePage) {
    EXPECT_EQ(ToCp1252(QStringLiteral("Perch\u00E9 \u20AC")), "Perch\xE9 \x80");
    EXPECT_EQ(ToCp1252(QStringLiteral("\u0100x")), "?x");
    EXPECT_EQ(ToCp1252(QString(QChar(0xD800))), "?"); // lone surrogate
    EXPECT_EQ(ToCp1252(QStringLiteral("\U0001F511")), "?");
    EXPECT_EQ(FromCp1252("\x93ok\x94"), QStringLiteral("\u201Cok\u201D"));
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252(all).size(), 256);
}

} // namespace
} // namespace vw
