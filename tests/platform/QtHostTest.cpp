// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Qt host: the user's own settings only, the code page both ways, no core dumps.
#include <QSettings>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/CoreDumps.h"
#include "platform/QtHost.h"
#include "platform/TextCodec.h"

namespace vw {
namespace {

// The user's file and a system-wide file (per application and per organisation) both hold
// values: only the user's are read, as code-page bytes or as text.
TEST(QtHost, ReadsOnlyTheUsersOwnSettingsAndStoredBooleans) {
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    for (const char* folder : {"/user/app", "/system/app"})
        std::filesystem::create_directories(root + folder);
    std::ofstream(root + "/user/app/app.conf")
        << "[Other]\nA=x\n[Config]\nA=Perch\xC3\xA9\nB= TRUE \n";
    for (const char* conf : {"/system/app.conf", "/system/app/app.conf"})
        std::ofstream(root + conf) << "[Config]\nC=1\nD=/etc\n";
    ::setenv("XDG_CONFIG_HOME", (root + "/user").c_str(), 1);
    ::setenv("XDG_CONFIG_DIRS", (root + "/system").c_str(), 1);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path() + "/user");
    QtHost host(QStringLiteral("app"));
    EXPECT_EQ(host.ReadSetting("A", ""), "Perch\xE9");
    EXPECT_EQ(host.ReadText(QStringLiteral("A"), {}), QStringLiteral("Perch\u00E9"));
    EXPECT_TRUE(host.ReadBool(QStringLiteral("B"), false));
    EXPECT_FALSE(host.ReadBool(QStringLiteral("C"), false));
    EXPECT_EQ(host.ReadText(QStringLiteral("D"), QStringLiteral("home")), "home");
    ::unsetenv("XDG_CONFIG_DIRS");
    // A settings file that is no regular file is left alone rather than waited on.
    std::filesystem::create_directories(root + "/user/pipe");
    ASSERT_EQ(::mkfifo((root + "/user/pipe/pipe.conf").c_str(), 0600), 0);
    QtHost pipe(QStringLiteral("pipe"));
    EXPECT_EQ(pipe.ReadSetting("A", "none"), "none");
    EXPECT_FALSE(pipe.StoreText(QStringLiteral("A"), QStringLiteral("x")));
    EXPECT_FALSE(pipe.RemoveSetting(QStringLiteral("A")));
    // How stored booleans read.
    for (const char* yes : {"1", "-1", "True", " TRUE ", "0.1"})
        EXPECT_TRUE(ParseStoredBool(QString::fromLatin1(yes))) << yes;
    for (const char* no : {"0", "False", "yes", "", "0.0", "on"})
        EXPECT_FALSE(ParseStoredBool(QString::fromLatin1(no))) << no;
}

TEST(CoreDumps, TheProcessBecomesNonDumpable) {
    const pid_t child = ::fork(); // in a child, so the test program keeps its dumps
    if (child == 0) ::_exit(DisableCoreDumps() && ::prctl(PR_GET_DUMPABLE) == 0 ? 0 : 1);
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(TextCodec, EveryCodePageByteRoundTripsAndOthersBecomeQuestionMarks) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(ToCp1252(FromCp1252(all)), all);
    EXPECT_EQ(FromCp1252("\x80\x93"), QStringLiteral("\u20AC\u201C"));
    EXPECT_EQ(ToCp1252(QStringLiteral("\u0100\U0001F511") + QChar(0xD800)), "???");
}

} // namespace
} // namespace vw
