// The program's start (settings, command line) and the file commands' password and dialogs.
#include <QCheckBox>
#include <QFile>
#include <QMouseEvent>

#include "UiTestSupport.h"

namespace vw::ui {
namespace {

using StartupTest = test::ProgramFixture;

TEST(CommandLinePath, ArgumentsJoinedWithBlanksWithoutSurroundingQuotes) {
    const std::pair<QStringList, QString> rows[] = {
        {{}, {}},
        {{"/tmp/a.txt"}, "/tmp/a.txt"},
        {{"\"/tmp/a b.txt\""}, "/tmp/a b.txt"},
        {{"\""}, "\""},
        {{"/tmp/my", "file.txt"}, "/tmp/my file.txt"},
        {{"\"/tmp/a", "b.txt\""}, "/tmp/a b.txt"},
    };
    for (const auto& [arguments, path] : rows)
        EXPECT_EQ(CommandLinePath(QStringList{"vaultwise"} + arguments), path)
            << path.toStdString();
}

// The open dialog starts in the "Folder" setting, the home folder without it; a stored private
// code ticks "Use PCM", which shows only while a file is selected.
TEST_F(StartupTest, SettingsReadAtStart) {
    program->Start(QString());
    EXPECT_EQ(state().currentFolder, QDir::homePath());
    test::StorePrivateCode("my private code");
    start();
    EXPECT_EQ(QDir::current(), QDir(folder.path()));
    program->commands().SelectFile();
    EXPECT_EQ(prompts.openFolders.back(), folder.path());
    EXPECT_EQ(state().privateCode, QStringLiteral("my private code"));
    EXPECT_TRUE(control<QCheckBox>("chkPCM")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("chkPCM")->isHidden());
    select(file(QStringLiteral("a.txt"), "abc"));
    EXPECT_FALSE(control<QCheckBox>("chkPCM")->isHidden());
}

TEST_F(StartupTest, CommandLineFileAsksForThePasswordAtOnceAndRunsTheJob) {
    const QString source = file(QStringLiteral("b.txt"), "some text to protect");
    prompts.saveAnswers.push_back(source);
    answerPassword(QStringLiteral("Secret1"));
    program->Start(source);
    EXPECT_EQ(prompts.saveFolders, std::vector<QString>{QDir(folder.path()).path() + '/'});
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(state().selectedPath, pathOf(QStringLiteral("b.vwx")));
    EXPECT_FALSE(QFile::exists(source));
}

TEST_F(StartupTest, ProcessButtonAsksForAPasswordOnlyWhenNoneIsHeldAndCancelsStartNothing) {
    start();
    select(file(QStringLiteral("a.txt"), "abcdef"));
    JobStatus = 99;
    const auto pressProcess = [this] {
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(control<QWidget>("Picture4"), &event);
        }
    };
    answerPassword(QString()); // closed
    pressProcess();
    answerPassword(QStringLiteral("Secret1")); // then cancelled in the save dialog
    pressProcess();
    EXPECT_EQ(prompts.saveFolders.size(), 1u);
    EXPECT_EQ(JobStatus, 99); // no job ran
    auto asked = test::Spy(&program->keyDialog(), &KeyDialog::passwordAccepted);
    prompts.saveAnswers.push_back(pathOf(QStringLiteral("out.txt"))); // held: no dialog now
    pressProcess();
    EXPECT_EQ(*asked, 0);
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("out.vwx"))));
}

TEST_F(StartupTest, NewKeysWipesThePasswordOnSelectionOtherwiseItStays) {
    for (const bool newKeys : {true, false}) {
        test::WriteSetting(QStringLiteral("NewKeys"), newKeys ? "True" : "0");
        start();
        state().password = QString::fromLatin1("Secret1"); // a buffer of its own
        const QChar* held = state().password.constData();
        select(file(QStringLiteral("a.txt"), "a"));
        EXPECT_EQ(QStringView(held, 7), newKeys ? QStringView(u"\0      ", 7) : u"Secret1");
        EXPECT_EQ(state().password.isEmpty(), newKeys);
    }
}

} // namespace
} // namespace vw::ui
