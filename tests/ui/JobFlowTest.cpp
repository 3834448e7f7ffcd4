#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
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

using JobFlowTest = ProgramFixture;

TEST_F(JobFlowTest, ProtectInPlaceMovesTheSelectionToTheResult) {
    start();
    const QByteArray original = Contents(20000);
    const QString source = file(QStringLiteral("b.txt"), original);
    select(source);
    main().move(0, 0); // the dialog is centred on the screen, not over the main window
    QString titleDuringJob;
    QString lineDuringJob;
    bool visibleDuringJob = false;
    QPoint centreDuringJob;
    program->host().onEvents = [&] {
        titleDuringJob = progress().windowTitle();
        lineDuringJob = progress().lblName()->text();
        visibleDuringJob = progress().isVisible();
        centreDuringJob = progress().frameGeometry().center();
    };
    // Longer than a text box holds by default: the whole password keys the file.
    const QString password = QString(40000, QLatin1Char('k')) + QStringLiteral("Secret1");
    runJob(password, source);

    const QString result = pathOf(QStringLiteral("b.vwx"));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(visibleDuringJob);
    EXPECT_EQ(titleDuringJob, QStringLiteral(" Elaborazione in corso... "));
    EXPECT_EQ(lineDuringJob, QStringLiteral("Attendere... b.txt ..."));
    const QPoint offCentre = centreDuringJob - main().screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
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
    runJob(password, pathOf(QStringLiteral("restored.dat")));
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(state().selectedPath, result); // another output path: the selection stays
    EXPECT_EQ(state().outputPath, pathOf(QStringLiteral("restored.txt")));
    EXPECT_EQ(test::ReadWholeFile(pathOf(QStringLiteral("restored.txt"))), original);
}

TEST_F(JobFlowTest, ProtectElsewhereThenWrongPasswordGivesTheFourLineMessage) {
    start();
    const QString source = file(QStringLiteral("b.txt"), Contents(3000));
    select(source);
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("c.txt")));
    // Another output path: the selection stays on the source.
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(state().selectedPath, source);
    EXPECT_EQ(state().outputPath, pathOf(QStringLiteral("c.vwx")));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Lumora b.txt"));
    EXPECT_TRUE(QFile::exists(source));

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

TEST_F(JobFlowTest, InterrompiEnterOrEscapeCancelsAProtectAndARestore) {
    start();
    const QString source = file(QStringLiteral("b.txt"), Contents(200000));
    select(source);
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("c.txt")));
    enum How { Click, Enter, Escape };
    for (const bool restore : {false, true}) {
        for (const How how : {Click, Enter, Escape}) {
            SCOPED_TRACE(testing::Message() << "restore " << restore << " how " << how);
            const QString selected = restore ? pathOf(QStringLiteral("c.vwx")) : source;
            select(selected);
            prompts.messages.clear();
            int yields = 0;
            program->host().onEvents = [&] {
                if (++yields != 2) return;
                if (how == Click) return progress().cmdCancel()->click();
                QKeyEvent key(QEvent::KeyPress, how == Enter ? Qt::Key_Return : Qt::Key_Escape,
                              Qt::NoModifier);
                QCoreApplication::sendEvent(
                    how == Enter ? static_cast<QWidget*>(progress().cmdCancel()) : &progress(),
                    &key);
            };
            runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.txt")));
            program->host().onEvents = nullptr;
            ASSERT_EQ(prompts.messages.size(), 1u);
            EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
            EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Lumora"));
            EXPECT_EQ(prompts.messages[0].text, restore
                                                    ? QStringLiteral("Elaborazione interrotta.")
                                                    : QStringLiteral("Elaborazione interrotta"));
            EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("out.vwx"))));
            EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("out.txt"))));
            EXPECT_EQ(state().selectedPath, selected);
            EXPECT_FALSE(progress().isVisible());
        }
    }
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

TEST_F(JobFlowTest, UsePcmGovernsWhetherJobsGetThePrivateCode) {
    test::StorePrivateCode("pcm-code");
    start();
    const QByteArray original = Contents(4000);
    select(file(QStringLiteral("b.txt"), original));
    ASSERT_TRUE(main().chkPCM()->isChecked()); // ticked at start: the stored code is used
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("with.txt")));
    main().chkPCM()->click(); // unticked: the password alone
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("without.txt")));
    ASSERT_TRUE(prompts.messages.empty());
    // Each file opens only the way it was made.
    for (const bool ticked : {false, true}) {
        for (const char* made : {"with", "without"}) {
            SCOPED_TRACE(testing::Message() << "ticked " << ticked << " file " << made);
            if (main().chkPCM()->isChecked() != ticked) main().chkPCM()->click();
            prompts.messages.clear();
            select(pathOf(QString::fromLatin1(made) + QStringLiteral(".vwx")));
            runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.dat")));
            const bool opens = ticked == (QLatin1String(made) == QLatin1String("with"));
            EXPECT_EQ(prompts.messages.empty(), opens);
            EXPECT_EQ(QFile::remove(pathOf(QStringLiteral("out.txt"))), opens);
        }
    }
    EXPECT_EQ(state().privateCode, QStringLiteral("pcm-code")); // the stored code stays held
}

} // namespace
} // namespace vw::ui
