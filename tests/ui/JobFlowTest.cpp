#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <algorithm>

#include "ProgramFixture.h"

namespace vw::ui {
namespace {

using test::ProgramFixture;

QByteArray Contents(int size) {
    QByteArray data;
    for (int i = 0; i < size; ++i)
        data.append(static_cast<char>("lorem ipsum dolor "[i % 18]));
    return data;
}

class JobFlowTest : public ProgramFixture {
  protected:
    void start() {
        test::WriteSetting(QStringLiteral("Folder"), folder.path());
        make().Start(QString());
    }
    void select(const QString& path) {
        prompts.openAnswers.push_back(path);
        commands().SelectFile();
    }
    // The Encrypt/Decrypt command with a held password and the given output path.
    void runJob(const QString& password, const QString& outputPath) {
        state().password = password;
        prompts.saveAnswers.push_back(outputPath);
        commands().RunCryptoCommand();
    }
};

TEST_F(JobFlowTest, ProtectInPlaceMovesTheSelectionToTheResult) {
    start();
    const QByteArray original = Contents(20000);
    const QString source = file(QStringLiteral("b.txt"), original);
    select(source);
    QString titleDuringJob;
    QString lineDuringJob;
    bool visibleDuringJob = false;
    program->host().onEvents = [&] {
        titleDuringJob = progress().windowTitle();
        lineDuringJob = progress().lblName()->text();
        visibleDuringJob = progress().isVisible();
    };
    runJob(QStringLiteral("Secret1"), source);

    const QString result = pathOf(QStringLiteral("b.vwx"));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(visibleDuringJob);
    EXPECT_EQ(titleDuringJob, QStringLiteral(" Elaborazione in corso... "));
    EXPECT_EQ(lineDuringJob, QStringLiteral("Attendere... b.txt ..."));
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(progress().windowTitle(), QStringLiteral(" Elaborazione in corso... "));
    EXPECT_GE(progress().progressBar()->value(), 56); // the encryption stage reported
    EXPECT_EQ(state().selectedPath, result);
    EXPECT_EQ(state().outputPath, result);
    EXPECT_EQ(state().resultPath, result);
    EXPECT_EQ(main().lblFileName()->text(), QStringLiteral("b.vwx"));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("b.vwx"));
    EXPECT_EQ(main().mnuCrypto()->text(), QStringLiteral("&Decrypt"));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_TRUE(QFile::exists(result));

    // And back: the restore writes the file under its stored extension.
    program->host().onEvents = nullptr;
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("restored.dat")));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(state().selectedPath, result); // another output path: the selection stays
    EXPECT_EQ(state().outputPath, pathOf(QStringLiteral("restored.txt")));
    EXPECT_EQ(test::ReadWholeFile(pathOf(QStringLiteral("restored.txt"))), original);
}

TEST_F(JobFlowTest, ProtectElsewhereKeepsTheSelection) {
    start();
    const QString source = file(QStringLiteral("b.txt"), Contents(5000));
    select(source);
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("y.txt")));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(state().selectedPath, source);
    EXPECT_EQ(state().outputPath, pathOf(QStringLiteral("y.vwx")));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Lumora b.txt"));
    EXPECT_TRUE(QFile::exists(source));
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("y.vwx"))));
}

TEST_F(JobFlowTest, WrongPasswordGivesTheFourLineMessage) {
    start();
    const QString source = file(QStringLiteral("b.txt"), Contents(3000));
    select(source);
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("c.txt")));
    select(pathOf(QStringLiteral("c.vwx")));
    bool progressShownDuringMessage = false;
    prompts.onMessage = [&](const test::ShownMessage&) {
        progressShownDuringMessage = progress().isVisible();
    };
    runJob(QStringLiteral("Wrong12"), pathOf(QStringLiteral("d.txt")));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Lumora"));
    EXPECT_EQ(
        prompts.messages[0].text,
        QStringLiteral("Elaborazione non riuscita:\n\n- Password errata.\no File danneggiato"));
    EXPECT_TRUE(progressShownDuringMessage);
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(state().selectedPath, pathOf(QStringLiteral("c.vwx")));
    EXPECT_EQ(state().outputPath, pathOf(QStringLiteral("d.txt")));
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("d.txt"))));
}

TEST_F(JobFlowTest, InterrompiClickedOrEnterCancelsAProtect) {
    start();
    const QString source = file(QStringLiteral("b.txt"), Contents(200000));
    select(source);
    for (const bool byEnter : {false, true}) {
        prompts.messages.clear();
        int yields = 0;
        program->host().onEvents = [&] {
            if (++yields != 2) return;
            if (!byEnter) return progress().cmdCancel()->click();
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(progress().cmdCancel(), &enter);
        };
        runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.txt")));
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
        EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Lumora"));
        EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Elaborazione interrotta"));
        EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("out.vwx"))));
        EXPECT_EQ(state().selectedPath, source);
        EXPECT_FALSE(progress().isVisible());
    }
}

TEST_F(JobFlowTest, EscapeCancelsARestore) {
    start();
    select(file(QStringLiteral("b.txt"), Contents(200000)));
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("c.txt")));
    select(pathOf(QStringLiteral("c.vwx")));
    int yields = 0;
    program->host().onEvents = [&] {
        if (++yields != 2) return;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(&progress(), &escape);
    };
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("d.txt")));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Elaborazione interrotta."));
    EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("d.txt"))));
}

TEST_F(JobFlowTest, DriverRefusalsAreReported) {
    start();
    const QString source = file(QStringLiteral("b.txt"), Contents(100));
    select(source);
    // A password the dialog would never accept: the driver's own text, the program's title.
    runJob(QStringLiteral("abcd"), pathOf(QStringLiteral("out.txt")));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Password troppo corta"));
    EXPECT_TRUE(prompts.messages[0].title.isEmpty());

    QFile::remove(source);
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.txt")));
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text, QStringLiteral("File non trovato"));
    EXPECT_EQ(prompts.messages[1].title, QStringLiteral("Lumora"));
    // The commands were brought up to date all the same.
    EXPECT_TRUE(main().mnuCrypto()->isEnabled());

    select(file(QStringLiteral("empty.txt"), QByteArray()));
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.txt")));
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[2].text, QStringLiteral("Il file non contiene dati"));
}

TEST_F(JobFlowTest, SecondActivationDuringAShowingStartsNoSecondJob) {
    start();
    select(file(QStringLiteral("b.txt"), Contents(100000)));
    int depth = 0;
    int deepest = 0;
    bool activatedAgain = false;
    bool stillShown = false;
    program->host().onEvents = [&] {
        ++depth;
        deepest = std::max(deepest, depth);
        if (!activatedAgain) {
            activatedAgain = true;
            progress().activate();
            stillShown = progress().isVisible();
        }
        --depth;
    };
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.txt")));
    EXPECT_TRUE(activatedAgain);
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(deepest, 1);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("out.vwx"))));
}

TEST_F(JobFlowTest, PrivateCodeTakesPartWhateverUsePcmShows) {
    test::StorePrivateCode("pcm-code");
    start();
    const QByteArray original = Contents(4000);
    select(file(QStringLiteral("b.txt"), original));
    main().chkPCM()->click(); // unticked: usePcm false, the code is still used
    EXPECT_FALSE(state().usePcm);
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("c.txt")));
    ASSERT_TRUE(prompts.messages.empty());
    // Without the code the protected file does not open.
    state().privateCode.clear();
    select(pathOf(QStringLiteral("c.vwx")));
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("d.txt")));
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.left(26), QStringLiteral("Elaborazione non riuscita:"));
    state().privateCode = QStringLiteral("pcm-code");
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("e.txt")));
    EXPECT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(test::ReadWholeFile(pathOf(QStringLiteral("e.txt"))), original);
}

} // namespace
} // namespace vw::ui
