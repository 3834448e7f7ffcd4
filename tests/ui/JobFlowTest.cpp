// Jobs from the Encrypt/Decrypt command to the disk and back, through the progress dialog.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "UiTestSupport.h"

namespace vw::ui {
namespace {

using JobFlowTest = test::ProgramFixture;

QByteArray Contents(int kilobytes) {
    return QByteArray("lorem ipsum dolor ").repeated(kilobytes * 57);
}

TEST_F(JobFlowTest, ProtectInPlaceMovesTheSelectionToTheResultAndRestoreBringsItBack) {
    start();
    const QString source = file(QStringLiteral("b.txt"), Contents(20));
    select(source);
    main().move(0, 0); // the dialog is centred on the screen, not over the main window
    QString line;
    QPoint centre;
    program->host().onEvents = [&] {
        line = progress().lblName()->text();
        centre = progress().frameGeometry().center();
    };
    // Longer than a text box holds by default: the whole password keys the file.
    const QString password = QString(40000, QLatin1Char('k')) + QStringLiteral("Secret1");
    runJob(password, source);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_EQ(line, QStringLiteral("Attendere... b.txt ..."));
    const QPoint offCentre = centre - main().screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
    EXPECT_FALSE(progress().isVisible());
    EXPECT_EQ(state().selectedPath, pathOf(QStringLiteral("b.vwx")));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("b.vwx"));
    EXPECT_EQ(control<QAction>("mnuCrypto")->text(), QStringLiteral("&Decrypt"));
    EXPECT_FALSE(QFile::exists(source));
    // Back under the stored extension; another output path leaves the selection where it is.
    program->host().onEvents = nullptr;
    runJob(password, pathOf(QStringLiteral("restored.dat")));
    EXPECT_EQ(state().selectedPath, pathOf(QStringLiteral("b.vwx")));
    QFile restored(pathOf(QStringLiteral("restored.txt")));
    ASSERT_TRUE(restored.open(QIODevice::ReadOnly));
    EXPECT_EQ(restored.readAll(), Contents(20));
}

TEST_F(JobFlowTest, InterrompiEnterOrEscapeCancelsAProtectAndARestore) {
    start();
    const QString source = file(QStringLiteral("b.txt"), Contents(200));
    select(source);
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("c.txt")));
    for (const bool restore : {false, true}) {
        for (const int key : {0, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            SCOPED_TRACE(testing::Message() << "restore " << restore << " key " << key);
            select(restore ? pathOf(QStringLiteral("c.vwx")) : source);
            prompts.messages.clear();
            int yields = 0;
            program->host().onEvents = [&] {
                if (++yields != 2) return;
                if (key == 0) return progress().cmdCancel()->click();
                QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
                QObject* target = progress().cmdCancel();
                if (key == Qt::Key_Escape) target = &progress();
                QCoreApplication::sendEvent(target, &press);
            };
            runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.txt")));
            program->host().onEvents = nullptr;
            ASSERT_EQ(prompts.messages.size(), 1u);
            EXPECT_EQ(prompts.messages[0].icon, MessageIcon::Information);
            EXPECT_EQ(prompts.messages[0].text,
                      restore ? "Elaborazione interrotta." : "Elaborazione interrotta");
            EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("out.vwx"))));
            EXPECT_FALSE(QFile::exists(pathOf(QStringLiteral("out.txt"))));
        }
    }
}

TEST_F(JobFlowTest, SecondActivationDuringAShowingStartsNoSecondJob) {
    start();
    select(file(QStringLiteral("b.txt"), Contents(100)));
    int depth = 0, deepest = 0, yields = 0;
    program->host().onEvents = [&] {
        deepest = std::max(deepest, ++depth);
        if (yields++ == 0) progress().activate();
        --depth;
    };
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.txt")));
    EXPECT_GT(yields, 1);
    EXPECT_EQ(deepest, 1);
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("out.vwx"))));
}

TEST_F(JobFlowTest, UsePcmGovernsWhetherJobsGetThePrivateCode) {
    test::StorePrivateCode("pcm-code");
    start();
    select(file(QStringLiteral("b.txt"), Contents(4)));
    auto* usePcm = control<QCheckBox>("chkPCM");
    ASSERT_TRUE(usePcm->isChecked()); // ticked at start: the stored code is used
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("with.txt")));
    usePcm->click(); // unticked: the password alone
    runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("without.txt")));
    // Each file opens only the way it was made; the other way is a wrong password.
    for (const bool ticked : {false, true}) {
        for (const QString made : {QStringLiteral("with"), QStringLiteral("without")}) {
            if (usePcm->isChecked() != ticked) usePcm->click();
            prompts.messages.clear();
            select(pathOf(made + QStringLiteral(".vwx")));
            runJob(QStringLiteral("Secret1"), pathOf(QStringLiteral("out.dat")));
            const bool opens = ticked == (made == QStringLiteral("with"));
            EXPECT_EQ(QFile::remove(pathOf(QStringLiteral("out.txt"))), opens) << ticked;
            EXPECT_EQ(prompts.messages.empty(), opens);
            if (!opens)
                EXPECT_EQ(prompts.messages[0].text, "Elaborazione non riuscita:\n\n- "
                                                    "Password errata.\no File danneggiato");
        }
    }
}

} // namespace
} // namespace vw::ui
