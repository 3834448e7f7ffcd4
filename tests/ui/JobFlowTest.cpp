// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program: its start, the file commands, and jobs to the disk and back.
#include "UiTestSupport.h"
#include "engine/ProtectedFile.h"

namespace vw::ui::test {

using JobFlowTest = ProgramFixture;

static QByteArray Contents(int kilobytes) {
    return QByteArray("lorem ipsum dolor ").repeated(kilobytes * 57);
}

TEST(CommandLinePath, ArgumentsJoinedWithBlanksWithoutSurroundingQuotes) {
    const std::pair<QStringList, QString> rows[] = {{{}, {}},
                                                    {{"/tmp/a.txt"}, "/tmp/a.txt"},
                                                    {{"\"/tmp/a b.txt\""}, "/tmp/a b.txt"},
                                                    {{"\""}, "\""},
                                                    {{"/tmp/my", "file.txt"}, "/tmp/my file.txt"},
                                                    {{"\"/tmp/a", "b.txt\""}, "/tmp/a b.txt"}};
    for (const auto& [arguments, path] : rows)
        EXPECT_EQ(CommandLinePath(QStringList{"vaultwise"} + arguments), path)
            << path.toStdString();
}

TEST_F(JobFlowTest, ProcessButtonAsksForAPasswordOnlyWhenNoneIsHeldAndCancelsStartNothing) {
    start();
    select(file(u"a.txt"_s, "abcdef"));
    JobStatus = 99;
    const auto pressProcess = [this] {
        SendMouse(Child<QWidget>(&main(), "Picture4"), QEvent::MouseButtonPress);
        SendMouse(Child<QWidget>(&main(), "Picture4"), QEvent::MouseButtonRelease);
    };
    answerPassword(QString()); // closed
    pressProcess();
    answerPassword(u"Secret1"_s); // then cancelled in the save dialog
    pressProcess();
    EXPECT_EQ(std::tuple(prompts.saveFolders.size(), JobStatus), std::tuple(1u, 99)); // no job ran
    auto asked = Spy(&program->keyDialog(), &KeyDialog::passwordAccepted);
    prompts.saveAnswers.push_back(pathOf(u"out.txt"_s)); // held: no dialog now
    pressProcess();
    EXPECT_TRUE(*asked == 0 && QFile::exists(pathOf(u"out.vwx"_s)));
}

TEST_F(JobFlowTest, NewKeysWipesThePasswordOnSelectionOtherwiseItStays) {
    for (const bool newKeys : {true, false}) {
        WriteSetting(u"NewKeys"_s, newKeys ? "True" : "0");
        start();
        state().password = QString::fromLatin1("Secret1"); // a buffer of its own
        const QChar* held = state().password.constData();
        select(file(u"a.txt"_s, "a"));
        EXPECT_EQ(QStringView(held, 7), newKeys ? QStringView(u"\0      ", 7) : u"Secret1");
        EXPECT_EQ(state().password.isEmpty(), newKeys);
    }
}

// A file on the command line asks for the password at once and runs the job.
TEST_F(JobFlowTest, CommandLineFileProtectedInPlaceOnceMovesTheSelectionAndRestoreBringsItBack) {
    const QString source = file(u"b.txt"_s, Contents(100));
    main().show(); // the dialog is centred on the screen, not over the main window
    main().move(0, 0);
    QString line;
    QPoint centre;
    int depth = 0, deepest = 0, yields = 0; // a second activation starts no second job
    program->host().onEvents = [&] {
        deepest = std::max(deepest, ++depth);
        if (yields++ == 0) progress().activate();
        line = progress().lblName()->text();
        centre = progress().frameGeometry().center();
        --depth;
    };
    // Longer than a text box holds by default: the whole password keys the file.
    const QString password = QString(40000, QLatin1Char('k')) + u"Secret1"_s;
    prompts.saveAnswers.push_back(source);
    answerPassword(password);
    program->Start(source);
    EXPECT_EQ(prompts.saveFolders, std::vector<QString>{QDir(folder.path()).path() + '/'});
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(yields > 1 && deepest == 1) << yields << " " << deepest;
    EXPECT_EQ(line, u"Attendere... b.txt ..."_s);
    const QPoint offCentre = centre - main().screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
    EXPECT_FALSE(progress().isVisible() || QFile::exists(source));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the busy pointer is gone again
    EXPECT_EQ(std::tuple(state().selectedPath, main().windowTitle()),
              std::tuple(pathOf(u"b.vwx"_s), u"b.vwx"_s));
    // Back under the stored extension; another output path leaves the selection where it is.
    program->host().onEvents = nullptr;
    runJob(password, pathOf(u"restored.dat"_s));
    EXPECT_EQ(state().selectedPath, pathOf(u"b.vwx"_s));
    QFile restored(pathOf(u"restored.txt"_s));
    ASSERT_TRUE(restored.open(QIODevice::ReadOnly));
    EXPECT_EQ(restored.readAll(), Contents(100));
}

TEST_F(JobFlowTest, InterrompiEnterOrEscapeCancelsAProtectAndARestore) {
    start();
    const QString source = file(u"b.txt"_s, Contents(200));
    select(source);
    runJob(u"Secret1"_s, pathOf(u"c.txt"_s));
    for (const bool restore : {false, true}) {
        for (const int key : {0, int(Qt::Key_Return), int(Qt::Key_Escape)}) {
            SCOPED_TRACE(testing::Message() << "restore " << restore << " key " << key);
            select(restore ? pathOf(u"c.vwx"_s) : source);
            prompts.messages.clear();
            int yields = 0;
            program->host().onEvents = [&] {
                if (++yields != 2) return;
                if (key == 0) return progress().cmdCancel()->click();
                Press(key == Qt::Key_Escape ? static_cast<QObject*>(&progress())
                                            : progress().cmdCancel(),
                      key);
            };
            runJob(u"Secret1"_s, pathOf(u"out.txt"_s));
            program->host().onEvents = nullptr;
            ASSERT_EQ(prompts.messages.size(), 1u);
            EXPECT_EQ(std::tuple(prompts.messages[0].icon, prompts.messages[0].text),
                      std::tuple(MessageIcon::Information, restore ? u"Elaborazione interrotta."_s
                                                                   : u"Elaborazione interrotta"_s));
            EXPECT_FALSE(QFile::exists(pathOf(u"out.vwx"_s)) ||
                         QFile::exists(pathOf(u"out.txt"_s)));
        }
    }
}

// The open dialog starts in the "Folder" setting, the home folder without it; a stored private
// code ticks "Use PCM", which shows only while a file is selected and says whether jobs use it.
TEST_F(JobFlowTest, SettingsAtStartAndUsePcmGovernsWhetherJobsGetThePrivateCode) {
    program->Start(QString());
    EXPECT_EQ(state().currentFolder, QDir::homePath());
    StorePrivateCode("pcm-code");
    start();
    EXPECT_EQ(QDir::current(), QDir(folder.path()));
    auto* usePcm = Child<QCheckBox>(&main(), "chkPCM");
    EXPECT_TRUE(usePcm->isChecked() && usePcm->isHidden());
    select(file(u"b.txt"_s, Contents(4)));
    EXPECT_EQ(prompts.openFolders.back(), folder.path());
    EXPECT_EQ(state().privateCode, u"pcm-code"_s);
    EXPECT_FALSE(usePcm->isHidden());
    runJob(u"Secret1"_s, pathOf(u"with.txt"_s)); // ticked at start: the stored code is used
    // Unticked, the password alone does not open it (a wrong password); ticked again, it opens.
    for (const bool ticked : {false, true}) {
        usePcm->click();
        prompts.messages.clear();
        select(pathOf(u"with.vwx"_s));
        runJob(u"Secret1"_s, pathOf(u"out.dat"_s));
        EXPECT_EQ(QFile::exists(pathOf(u"out.txt"_s)), ticked);
        EXPECT_EQ(prompts.messages.empty() ? QString() : prompts.messages[0].text,
                  ticked
                      ? QString()
                      : u"Elaborazione non riuscita:\n\n- Password errata.\no File danneggiato"_s);
    }
}

#ifdef VWX_BIN
// The private code vwx stores is the one the desktop program reads at its next start, and a
// forgotten one is gone for it too.
TEST_F(JobFlowTest, APrivateCodeStoredOrForgottenByVwxIsTheProgramsAtItsNextStart) {
    const std::pair<QStringList, QString> runs[] = {
        {{u"--store-private-code"_s, u"--private-code-file=-"_s}, u"Codic\u00E9 1"_s},
        {{u"--forget-private-code"_s}, QString()}};
    for (const auto& [arguments, code] : runs) {
        QProcess vwx; // with the tests' own settings folder, as the program
        vwx.start(QStringLiteral(VWX_BIN), arguments);
        vwx.write("Codic\xC3\xA9 1\n");
        vwx.closeWriteChannel();
        ASSERT_TRUE(vwx.waitForFinished(30000));
        EXPECT_EQ(vwx.exitCode(), 0) << vwx.readAllStandardError().toStdString();
        start();
        EXPECT_EQ(state().privateCode, code);
        EXPECT_EQ(Child<QCheckBox>(&main(), "chkPCM")->isChecked(), !code.isEmpty());
    }
}
#endif

// The save dialog confirms the name typed, the job writes it with the extension it adds: a file
// at that path is replaced only after a second yes, asked in the save dialog's words (Italian
// through Qt's own catalogue) under its title; a no shows the save dialog again. A file that
// appears once the choice is made is kept, and nothing is written.
TEST_F(JobFlowTest, AJobReplacesOnlyAFileTheUserConfirmed) {
    QTranslator qtItalian;
    ASSERT_TRUE(qtItalian.load(u"qtbase_it"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&qtItalian);
    start();
    file(u"a.txt"_s, Contents(3));
    const std::string note = file(u"note.txt"_s, Contents(4)).toStdString();
    ProtectFile(note, note, "Secret1", ""); // note.vwx, its extension "txt" stored
    struct Row {
        QString source, typed, written; // written: the file the job writes, there beforehand
        std::deque<bool> answers;       // to the question whether to replace it
        bool replaced;
    };
    const Row rows[] = {{u"note.vwx"_s, u"victim"_s, u"victim.txt"_s, {false}, false},
                        {u"note.vwx"_s, u"victim"_s, u"victim.txt"_s, {true}, true},
                        {u"a.txt"_s, u"victim"_s, u"victim.vwx"_s, {false}, false},
                        {u"a.txt"_s, u"victim.txt"_s, u"victim.vwx"_s, {true}, true},
                        // The name typed is the one written: the save dialog itself asked.
                        {u"a.txt"_s, u"victim.vwx"_s, u"victim.vwx"_s, {}, true},
                        {u"note.vwx"_s, u"victim.txt"_s, u"victim.txt"_s, {}, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE((row.source + u' ' + row.typed + u' ' + row.written).toStdString());
        file(row.written, "old");
        select(pathOf(row.source));
        prompts.questions.clear();
        prompts.saveFolders.clear();
        prompts.replaceAnswers = row.answers;
        runJob(u"Secret1"_s, pathOf(row.typed)); // a second save dialog is cancelled
        const QString asked = u"Salva file...|%1 esiste già.\nVuoi sostituirlo?"_s.arg(row.written);
        EXPECT_EQ(prompts.questions, QStringList(qsizetype(row.answers.size()), asked));
        EXPECT_EQ(prompts.saveFolders.size(), row.replaced ? 1u : 2u);
        QFile written(pathOf(row.written));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        const QByteArray now = written.readAll();
        EXPECT_EQ(now == "old", !row.replaced);
        EXPECT_TRUE(!row.replaced || row.source == u"a.txt"_s || now == Contents(4));
    }
    QCoreApplication::removeTranslator(&qtItalian);
    EXPECT_TRUE(prompts.messages.empty());
    // Someone else's file appears at the path the job writes after the choice.
    select(pathOf(u"note.vwx"_s));
    program->host().onEvents = [this] {
        if (!QFile::exists(pathOf(u"late.txt"_s))) file(u"late.txt"_s, "theirs");
    };
    runJob(u"Secret1"_s, pathOf(u"late"_s));
    program->host().onEvents = nullptr;
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              u"Il file %1 esiste già e non è stato sostituito.\nNon è stato scritto nulla."_s.arg(
                  pathOf(u"late.txt"_s)));
    QFile late(pathOf(u"late.txt"_s));
    EXPECT_TRUE(late.open(QIODevice::ReadOnly) && late.readAll() == "theirs");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), // nothing left over
              QStringList({u"a.txt"_s, u"late.txt"_s, u"note.vwx"_s, u"victim.txt"_s,
                           u"victim.vwx"_s}));
}

// A wrong password is let go after the job or the protected picture's view, so the next try asks
// for it again; a right one stays held.
TEST_F(JobFlowTest, AWrongPasswordIsForgottenARightOneIsHeld) {
    start();
    for (const QString& name : {u"a.txt"_s, u"b.ico"_s}) { // to a.vwx and b.vwx
        const std::string path = file(name, Contents(2)).toStdString();
        ProtectFile(path, path, "Secret1", "");
    }
    for (const bool view : {false, true}) {
        for (const QString& password : {u"Wrong12"_s, u"Secret1"_s}) {
            SCOPED_TRACE((password + (view ? u" view"_s : u" job"_s)).toStdString());
            select(pathOf(view ? u"b.vwx"_s : u"a.vwx"_s));
            state().holdPassword(password);
            if (view) {
                program->commands().ShowQuickView();
            } else {
                prompts.saveAnswers.push_back(pathOf(password + u".dat"_s));
                program->commands().RunCryptoCommand();
            }
            EXPECT_EQ(state().password, password == u"Secret1"_s ? password : QString());
        }
    }
    // The Process button after a wrong one asks for the password again.
    state().holdPassword(u"Wrong12"_s);
    select(pathOf(u"a.vwx"_s));
    prompts.saveAnswers.push_back(pathOf(u"again.dat"_s));
    program->commands().RunCryptoCommand();
    auto asked = Spy(&program->keyDialog(), &KeyDialog::passwordAccepted);
    answerPassword(u"Secret1"_s);
    prompts.saveAnswers.push_back(pathOf(u"again.dat"_s));
    program->commands().RunCryptoCommand();
    EXPECT_EQ(*asked, 1);
    EXPECT_TRUE(QFile::exists(pathOf(u"again.txt"_s)));
}

} // namespace vw::ui::test
