// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program: its start, the file commands, and jobs to the disk and back.
#include "UiTestSupport.h"
#include "ui/QuickView.h"

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
    EXPECT_EQ(progress().windowTitle(), u"Attendere....."_s);
    main().show(); // the dialog is centred on the screen, not over the main window
    main().move(0, 0);
    QString line, title;
    QPoint centre;
    int depth = 0, deepest = 0, yields = 0; // a second activation starts no second job
    duringJob([&] {
        deepest = std::max(deepest, ++depth);
        if (yields++ == 0) progress().activate();
        line = progress().lblName()->text();
        title = progress().windowTitle();
        centre = progress().frameGeometry().center();
        --depth;
    });
    // Longer than a text box holds by default: the whole password keys the file.
    const QString password = QString(40000, QLatin1Char('k')) + u"Secret1"_s;
    prompts.saveAnswers.push_back(source);
    answerPassword(password);
    program->Start(source);
    EXPECT_EQ(prompts.saveFolders, std::vector<QString>{QDir(folder.path()).path() + '/'});
    EXPECT_TRUE(prompts.messages.empty());
    EXPECT_TRUE(yields > 0 && deepest == 1) << yields << " " << deepest;
    EXPECT_EQ(std::tuple(line, title),
              std::tuple(u"Attendere... b.txt ..."_s, u" Elaborazione in corso... "_s));
    const QPoint offCentre = centre - main().screen()->availableGeometry().center();
    EXPECT_LE(offCentre.manhattanLength(), 2) << offCentre.x() << "," << offCentre.y();
    EXPECT_FALSE(progress().isVisible() || QFile::exists(source));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // the busy pointer is gone again
    EXPECT_EQ(std::tuple(state().selectedPath, main().windowTitle()),
              std::tuple(pathOf(u"b.vwx"_s), u"b.vwx"_s));
    // Back under the stored extension; another output path leaves the selection where it is.
    duringJob(nullptr);
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
            duringJob([&] {
                if (++yields != 1) return;
                if (key == 0) return progress().cmdCancel()->click();
                Press(key == Qt::Key_Escape ? static_cast<QObject*>(&progress())
                                            : progress().cmdCancel(),
                      key);
            });
            runJob(u"Secret1"_s, pathOf(u"out.txt"_s));
            duringJob(nullptr);
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

// A file dropped on the window becomes the selection (a folder does not); the menu's
// Encrypt/Decrypt command starts the job; Ctrl+O asks for a file, F1 shows the help with its
// topics; the quick view's window outlives its closing.
TEST_F(JobFlowTest, WindowCommandsReachTheirWindows) {
    start();
    QApplication::setActiveWindow(&main());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main()));
    const QString dropped = file(u"dropped.bmp"_s, {});
    ASSERT_TRUE(QImage(20, 10, QImage::Format_RGB32).save(dropped));
    for (const QString& path : {folder.path(), dropped}) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        const QPointF at(200, 100);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        for (QEvent* event : std::initializer_list<QEvent*>{&enter, &move, &drop})
            QCoreApplication::sendEvent(main().windowHandle(), event);
    }
    EXPECT_EQ(std::tuple(state().selectedPath, main().windowTitle()),
              std::tuple(dropped, u"Lumora dropped.bmp"_s));

    state().password = u"Secret1"_s;
    Child<QAction>(&main(), "mnuCrypto")->trigger(); // the save dialog is cancelled
    QTest::keyClick(&main(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(prompts.saveFolders.size(), prompts.openFolders.size()),
              std::tuple(1u, 1u));

    QTest::keyClick(&main(), Qt::Key_F1);
    auto* help = Child<QDialog>(&main(), "frmHelp");
    ASSERT_TRUE(help && help->isVisible());
    auto* topics = Child<QListWidget>(help, "topics");
    auto* page = Child<QTextBrowser>(help, "page");
    EXPECT_EQ(topics->count(), 7);
    EXPECT_TRUE(page->toPlainText().startsWith(u"Come iniziare"_s) &&
                page->toPlainText().contains(u"Premi Apri e scegli il file."_s));
    topics->setCurrentRow(3);
    EXPECT_TRUE(page->toPlainText().contains(u"finestra di anteprima"_s));
    help->close();

    program->commands().ShowQuickView();
    QPointer<QuickViewWindow> view = program->commands().quickView();
    ASSERT_TRUE(view && view->isVisible());
    QTest::keyClick(view, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view && !view->isVisible() && program->commands().quickView() == view);
}

// The save dialog confirms the name typed, the job writes it with the extension it adds: a file
// at that path is replaced only after a second yes, asked in the save dialog's words (Italian
// through Qt's catalogue) under its title; a no shows the save dialog again. A file that appears
// once the choice is made is kept, and nothing is written.
TEST_F(JobFlowTest, AJobReplacesOnlyAFileTheUserConfirmed) {
    QTranslator qt;
    ASSERT_TRUE(qt.load(u"qtbase_it"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)));
    QCoreApplication::installTranslator(&qt);
    start();
    const std::string note = file(u"note.txt"_s, Contents(4)).toStdString();
    ProcessFile(note, note, "Secret1", ""); // note.vwx, its extension "txt" stored
    file(u"a.txt"_s, "a");
    // Source, name typed, the existing file the job writes, the answer when asked.
    using Row = std::tuple<QString, QString, QString, std::optional<bool>>;
    for (const auto& [source, typed, written, answer] :
         {Row{u"note.vwx"_s, u"victim"_s, u"victim.txt"_s, false},
          Row{u"note.vwx"_s, u"victim"_s, u"victim.txt"_s, true},
          Row{u"a.txt"_s, u"victim"_s, u"victim.vwx"_s, false},
          Row{u"a.txt"_s, u"victim.txt"_s, u"victim.vwx"_s, true},
          Row{u"a.txt"_s, u"victim.vwx"_s, u"victim.vwx"_s, {}}, // the save dialog itself asked
          Row{u"note.vwx"_s, u"victim.txt"_s, u"victim.txt"_s, {}}}) {
        SCOPED_TRACE((source + u' ' + typed).toStdString());
        file(written, "old");
        select(pathOf(source));
        prompts.questions.clear(), prompts.saveFolders.clear();
        prompts.replaceAnswers = {answer.value_or(false)};
        runJob(u"Secret1"_s, pathOf(typed)); // a second save dialog is cancelled
        const QString asked = u"Salva file...|%1 esiste già.\nVuoi sostituirlo?"_s.arg(written);
        EXPECT_EQ(prompts.questions, answer ? QStringList{asked} : QStringList());
        EXPECT_EQ(prompts.saveFolders.size(), answer.value_or(true) ? 1u : 2u);
        QFile now(pathOf(written));
        ASSERT_TRUE(now.open(QIODevice::ReadOnly));
        const QByteArray bytes = now.readAll();
        EXPECT_EQ(bytes == "old", !answer.value_or(true)); // replaced only when confirmed
        EXPECT_TRUE(bytes == "old" || source == u"a.txt"_s || bytes == Contents(4));
    }
    QCoreApplication::removeTranslator(&qt);
    select(pathOf(u"note.vwx"_s)); // someone else's file appears where the job writes
    duringJob([this] {
        if (!QFile::exists(pathOf(u"late.txt"_s))) file(u"late.txt"_s, "theirs");
    });
    runJob(u"Secret1"_s, pathOf(u"late"_s));
    duringJob(nullptr);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text,
              u"Il file %1 esiste già e non è stato sostituito.\nNon è stato scritto nulla."_s.arg(
                  pathOf(u"late.txt"_s)));
    QFile late(pathOf(u"late.txt"_s));
    EXPECT_TRUE(late.open(QIODevice::ReadOnly) && late.readAll() == "theirs");
}

// A wrong password is let go after a job or the protected picture's view, so the next try asks
// for it again (none is held); a right one stays held.
TEST_F(JobFlowTest, AWrongPasswordIsForgottenARightOneIsHeld) {
    start();
    for (const QString& name : {u"a.txt"_s, u"b.ico"_s}) { // a.vwx, and b.vwx for the view
        const std::string path = file(name, Contents(2)).toStdString();
        ProcessFile(path, path, "Secret1", "");
    }
    for (const QString& row : {u"a Wrong12"_s, u"a Secret1"_s, u"b Wrong12"_s, u"b Secret1"_s}) {
        const QString password = row.section(u' ', 1);
        select(pathOf(row.section(u' ', 0, 0) + u".vwx"_s));
        state().holdPassword(password);
        if (row.startsWith(u'b')) {
            program->commands().ShowQuickView();
        } else {
            prompts.saveAnswers.push_back(pathOf(password + u".dat"_s));
            program->commands().RunCryptoCommand();
        }
        EXPECT_EQ(state().password, password == u"Secret1"_s ? password : QString())
            << row.toStdString();
        if (row.startsWith(u'a')) { // the keyboard is back on the main window for the next try
            EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &main(); }))
                << row.toStdString();
        }
    }
}

} // namespace vw::ui::test
