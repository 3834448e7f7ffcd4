#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>

#include "ProgramFixture.h"

namespace vw::ui {
namespace {

using test::ProgramFixture;

TEST(CommandLinePath, ArgumentsJoinedWithBlanksWithoutSurroundingQuotes) {
    const QString program = QStringLiteral("vaultwise");
    EXPECT_EQ(CommandLinePath({program}), QString());
    EXPECT_EQ(CommandLinePath({program, "/tmp/a.txt"}), "/tmp/a.txt");
    EXPECT_EQ(CommandLinePath({program, "\"/tmp/a b.txt\""}), "/tmp/a b.txt");
    EXPECT_EQ(CommandLinePath({program, "\""}), "\"");
    EXPECT_EQ(CommandLinePath({program, "/tmp/my", "file.txt"}), "/tmp/my file.txt");
    EXPECT_EQ(CommandLinePath({program, "\"/tmp/a", "b.txt\""}), "/tmp/a b.txt");
}

class StartupTest : public ProgramFixture {};

TEST_F(StartupTest, WithoutFileOpensAnEmptyPanelInTheFolderSetting) {
    start();
    EXPECT_TRUE(main().isVisible());
    EXPECT_FALSE(key().isVisible());
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(state().messageGap, QStringLiteral("\n\n"));
    EXPECT_EQ(state().panelState, kPanelNoFile);
    EXPECT_EQ(state().startFolder, folder.path());
    EXPECT_EQ(state().currentFolder, folder.path());
    EXPECT_EQ(QDir::current(), QDir(folder.path()));
    EXPECT_FALSE(state().autoStart);
    EXPECT_FALSE(state().newKeys);
    EXPECT_FALSE(state().usePcm);
    EXPECT_FALSE(main().chkPCM()->isChecked());
    EXPECT_TRUE(main().chkPCM()->isHidden());
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Vaultwise"));
    EXPECT_TRUE(prompts.saveAsked.empty());

    // The open dialog starts there.
    commands().SelectFile();
    ASSERT_EQ(prompts.openAsked.size(), 1u);
    EXPECT_EQ(prompts.openAsked[0].folder, folder.path());
    EXPECT_EQ(prompts.openAsked[0].title, QStringLiteral("Seleziona File..."));
}

TEST_F(StartupTest, FolderDefaultsToHomeAndAnUnusableOneStillStarts) {
    make().Start(QString());
    EXPECT_EQ(state().startFolder, QDir::homePath());
    EXPECT_EQ(state().currentFolder, QDir::homePath());
    program.reset();
    test::WriteSetting(QStringLiteral("Folder"), pathOf(QStringLiteral("missing")));
    make().Start(QString());
    EXPECT_TRUE(main().isVisible());
    EXPECT_EQ(state().currentFolder, pathOf(QStringLiteral("missing")));
}

TEST_F(StartupTest, NewKeysReadings) {
    for (const auto& [text, expected] :
         std::vector<std::pair<QString, bool>>{{QStringLiteral("1"), true},
                                               {QStringLiteral("-1"), true},
                                               {QStringLiteral("True"), true},
                                               {QStringLiteral("0"), false},
                                               {QStringLiteral("False"), false},
                                               {QStringLiteral("maybe"), false}}) {
        test::WriteSetting(QStringLiteral("NewKeys"), text);
        make().Start(QString());
        EXPECT_EQ(state().newKeys, expected) << text.toStdString();
        program.reset();
    }
}

TEST_F(StartupTest, StoredPrivateCodeTicksUsePcm) {
    test::StorePrivateCode("my private code");
    make().Start(QString());
    EXPECT_EQ(state().privateCode, QStringLiteral("my private code"));
    EXPECT_TRUE(state().usePcm);
    EXPECT_TRUE(main().chkPCM()->isChecked());
    EXPECT_TRUE(main().chkPCM()->isHidden()); // shown only while a file is selected
    EXPECT_TRUE(main().mnuDeletePCM()->isEnabled());
    select(file(QStringLiteral("a.txt"), "abc"));
    EXPECT_FALSE(main().chkPCM()->isHidden());
}

TEST_F(StartupTest, CommandLineFileAsksForThePasswordAtOnceAndRunsTheJob) {
    const QString source = file(QStringLiteral("b.txt"), "some text to protect");
    prompts.saveAnswers.push_back(source);
    make();
    answerPassword(QStringLiteral("Secret1"));
    program->Start(source);

    EXPECT_EQ(prompts.saveAsked.size(), 1u);
    EXPECT_EQ(prompts.saveAsked[0].folder, QDir(folder.path()).path() + QLatin1Char('/'));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(state().autoStart);
    EXPECT_EQ(state().password, QStringLiteral("Secret1"));
    // Protected in place: the selection moved to the result, captioned with the bare name.
    EXPECT_EQ(state().selectedPath, pathOf(QStringLiteral("b.vwx")));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("b.vwx"));
    EXPECT_EQ(main().lblFileName()->text(), QStringLiteral("b.vwx"));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("b.vwx"))));
}

TEST_F(StartupTest, CommandLineFileShowsItsBareNameBeforeTheJob) {
    const QString source = file(QStringLiteral("c.txt"), "abc");
    make();
    answerPassword(QString()); // closed: the sequence ends quietly
    const QString cwd = QDir::currentPath();
    program->Start(source);
    EXPECT_EQ(main().windowTitle(), QStringLiteral("c.txt"));
    EXPECT_EQ(main().lblFileName()->text(), QStringLiteral("c.txt"));
    EXPECT_EQ(main().lblSource()->text(), main().ShortenForSource(source));
    EXPECT_FALSE(main().imgIcon()->pixmap().isNull());
    EXPECT_EQ(state().selectedPath, source);
    EXPECT_EQ(state().panelState, kPanelOther);
    EXPECT_TRUE(prompts.saveAsked.empty());
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_FALSE(state().autoStart);
    EXPECT_EQ(QDir::currentPath(), cwd); // the process's folder is not changed
}

TEST_F(StartupTest, CommandLinePathThatNamesNoFileStillRunsTheSequence) {
    const QString missing = pathOf(QStringLiteral("missing.txt"));
    prompts.saveAnswers.push_back(pathOf(QStringLiteral("out.txt")));
    make();
    answerPassword(QStringLiteral("Secret1"));
    program->Start(missing);
    EXPECT_EQ(state().panelState, kPanelNoFile);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("File non trovato"));
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Lumora"));
    EXPECT_EQ(state().selectedPath, missing);
}

TEST_F(StartupTest, ClosingTheMainWindowClosesTheOthers) {
    make().Start(QString());
    key().show();
    main().close();
    EXPECT_FALSE(main().isVisible());
    EXPECT_FALSE(key().isVisible());
    EXPECT_FALSE(progress().isVisible());
}

} // namespace
} // namespace vw::ui
