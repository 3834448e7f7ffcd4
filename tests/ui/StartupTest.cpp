// The program's start (settings, command line) and its file commands.
#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QMouseEvent>

#include "ProgramFixture.h"

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

TEST_F(StartupTest, FolderSettingIsWhereTheOpenDialogStartsHomeWithoutIt) {
    make().Start(QString());
    EXPECT_EQ(state().currentFolder, QDir::homePath());
    program.reset();
    start();
    EXPECT_EQ(state().panelState, PanelState::NoFile);
    EXPECT_EQ(QDir::current(), QDir(folder.path()));
    EXPECT_TRUE(control<QCheckBox>("chkPCM")->isHidden());
    commands().SelectFile();
    EXPECT_EQ(prompts.openFolders, std::vector<QString>{folder.path()});
}

TEST_F(StartupTest, StoredPrivateCodeTicksUsePcmShownOnlyWithAFile) {
    test::StorePrivateCode("my private code");
    start();
    EXPECT_EQ(state().privateCode, QStringLiteral("my private code"));
    EXPECT_TRUE(state().usePcm);
    EXPECT_TRUE(control<QCheckBox>("chkPCM")->isChecked());
    EXPECT_TRUE(control<QCheckBox>("chkPCM")->isHidden());
    select(file(QStringLiteral("a.txt"), "abc"));
    EXPECT_FALSE(control<QCheckBox>("chkPCM")->isHidden());
}

TEST_F(StartupTest, CommandLineFileAsksForThePasswordAtOnceAndRunsTheJob) {
    const QString source = file(QStringLiteral("b.txt"), "some text to protect");
    prompts.saveAnswers.push_back(source);
    make();
    answerPassword(QStringLiteral("Secret1"));
    program->Start(source);
    EXPECT_EQ(prompts.saveFolders, std::vector<QString>{QDir(folder.path()).path() + '/'});
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(state().autoStart);
    EXPECT_EQ(state().selectedPath, pathOf(QStringLiteral("b.vwx")));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("b.vwx"));
    EXPECT_FALSE(QFile::exists(source));
}

TEST_F(StartupTest, ProcessButtonAsksForAPasswordOnlyWhenNoneIsHeldAndCancelsStartNothing) {
    start();
    const QString path = file(QStringLiteral("a.txt"), "abcdef");
    select(path);
    JobStatus = 99;
    const auto pressProcess = [this] {
        for (const auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(control<QWidget>("Picture4"), &event);
        }
    };
    auto asked = test::Spy(&key(), &KeyDialog::passwordAccepted);
    answerPassword(QString()); // closed
    pressProcess();
    EXPECT_TRUE(prompts.saveFolders.empty());
    answerPassword(QStringLiteral("Secret1")); // then cancelled in the save dialog
    pressProcess();
    EXPECT_EQ(*asked, 1);
    EXPECT_EQ(prompts.saveFolders.size(), 1u);
    EXPECT_EQ(JobStatus, 99);                                         // no job ran
    prompts.saveAnswers.push_back(pathOf(QStringLiteral("out.txt"))); // held: no dialog now
    pressProcess();
    EXPECT_EQ(*asked, 1);
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("out.vwx"))));
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(StartupTest, NewKeysWipesThePasswordOnSelectionOtherwiseItStays) {
    for (const bool newKeys : {true, false}) {
        test::WriteSetting(QStringLiteral("NewKeys"), newKeys ? "True" : "0");
        start();
        state().password = QString::fromLatin1("Secret1"); // a buffer of its own
        const QChar* held = state().password.constData();
        select(file(QStringLiteral("a.txt"), "a"));
        EXPECT_EQ(state().password.isEmpty(), newKeys);
        EXPECT_EQ(QStringView(held, 7), newKeys ? QStringView(u"\0      ", 7) : u"Secret1");
        program.reset();
    }
}

} // namespace
} // namespace vw::ui
