#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTimer>

#include "ProgramFixture.h"
#include "ui/QuickView.h"

namespace vw::ui {
namespace {

using test::ProgramFixture;

// Counts the showings of a window.
class ShowCounter : public QObject {
  public:
    explicit ShowCounter(QWidget* widget) { widget->installEventFilter(this); }
    int shown = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shown;
        return false;
    }
};

using FileCommandsTest = ProgramFixture;

TEST_F(FileCommandsTest, SelectingAFileUpdatesThePanel) {
    start();
    const QString path = file(QStringLiteral("b.txt"), "hello");
    select(path);
    ASSERT_EQ(prompts.openAsked.size(), 1u);
    EXPECT_EQ(prompts.openAsked[0].filter, QStringLiteral("Tutti i files (*.*);; (*.vwx)"));
    EXPECT_EQ(state().selectedPath, path);
    EXPECT_EQ(state().currentFolder, QDir(folder.path()).path() + QLatin1Char('/'));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Lumora b.txt"));
    EXPECT_EQ(main().lblFileName()->text(), QStringLiteral("b.txt"));
    EXPECT_EQ(main().lblSource()->text(), main().ShortenForSource(path));
    EXPECT_EQ(state().panelState, kPanelOther);
    EXPECT_EQ(main().mnuCrypto()->text(), QStringLiteral("&Encrypt"));
}

TEST_F(FileCommandsTest, NewKeysForgetsThePasswordOnSelectionOtherwiseItStays) {
    for (const bool newKeys : {true, false}) {
        test::WriteSetting(QStringLiteral("NewKeys"),
                           newKeys ? QStringLiteral("True") : QStringLiteral("0"));
        start();
        state().password = QStringLiteral("Secret1");
        select(file(QStringLiteral("a.txt"), "a"));
        EXPECT_EQ(state().password.isEmpty(), newKeys);
        program.reset();
    }
}

TEST_F(FileCommandsTest, CancelInTheOpenDialogChangesNothing) {
    test::WriteSetting(QStringLiteral("NewKeys"), QStringLiteral("1"));
    start();
    const QString path = file(QStringLiteral("a.txt"), "a");
    select(path);
    state().password = QStringLiteral("Secret1");
    commands().SelectFile(); // no answer queued: cancelled
    EXPECT_EQ(prompts.openAsked.size(), 2u);
    EXPECT_EQ(state().selectedPath, path);
    EXPECT_EQ(state().password, QStringLiteral("Secret1"));
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Lumora a.txt"));
}

TEST_F(FileCommandsTest, CryptaAsksForThePasswordOnlyWhenNoneIsHeldAndCancelsStartNothing) {
    start();
    const QString path = file(QStringLiteral("a.txt"), "abcdef");
    select(path);
    ShowCounter keyShown(&key());
    ShowCounter progressShown(&progress());
    JobStatus = 99;
    // The "Crypta" button, pressed and released, runs the Encrypt/Decrypt command.
    const auto pressCrypta = [this] {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(main().picture4(), &press);
        QCoreApplication::sendEvent(main().picture4(), &release);
    };
    answerPassword(QString()); // cancelled in the password dialog
    pressCrypta();
    EXPECT_EQ(keyShown.shown, 1);
    EXPECT_TRUE(prompts.saveAsked.empty());
    EXPECT_TRUE(state().password.isEmpty());

    answerPassword(QStringLiteral("Secret1")); // then cancelled in the save dialog
    pressCrypta();
    EXPECT_EQ(keyShown.shown, 2);
    EXPECT_EQ(state().password, QStringLiteral("Secret1"));
    ASSERT_EQ(prompts.saveAsked.size(), 1u);
    EXPECT_EQ(prompts.saveAsked[0].title, QStringLiteral("Salva file..."));
    EXPECT_EQ(prompts.saveAsked[0].filter, QStringLiteral("Tutti i files (*.*)"));
    EXPECT_EQ(progressShown.shown, 0);
    EXPECT_EQ(JobStatus, 99); // no job ran
    EXPECT_EQ(state().selectedPath, path);
    EXPECT_TRUE(QFile::exists(path));

    // The password is held now: straight to the save dialog and the job.
    prompts.saveAnswers.push_back(pathOf(QStringLiteral("out.txt")));
    pressCrypta();
    EXPECT_EQ(keyShown.shown, 2);
    EXPECT_EQ(prompts.saveAsked.size(), 2u);
    EXPECT_TRUE(QFile::exists(pathOf(QStringLiteral("out.vwx"))));
}

TEST_F(FileCommandsTest, DroppedFileIsSelectedAsTheOpenDialogWould) {
    start();
    const QString path = file(QStringLiteral("photo.gif"), "GIF89a");
    emit main().fileDropped(path);
    EXPECT_EQ(state().selectedPath, path);
    EXPECT_EQ(main().windowTitle(), QStringLiteral("Lumora photo.gif"));
    EXPECT_EQ(state().panelState, kPanelPicture);
    EXPECT_TRUE(main().mnuView()->isEnabled());
}

TEST_F(FileCommandsTest, MenuCommandsReachTheirOperations) {
    start();
    main().mnuCrypto()->setEnabled(true);
    state().password = QStringLiteral("Secret1");
    main().mnuCrypto()->trigger(); // password held: straight to the save dialog
    EXPECT_EQ(prompts.saveAsked.size(), 1u);
    ShowCounter keyShown(&key());
    answerPassword(QString());
    emit main().keyRequested(); // "&Key" always shows the dialog
    EXPECT_EQ(keyShown.shown, 1);
    EXPECT_EQ(state().password, QStringLiteral("Secret1"));
}

TEST_F(FileCommandsTest, IconClickShowsThePictureAndTheQuickViewFollowsTheSelection) {
    start();
    QImage wide(64, 32, QImage::Format_RGB32);
    wide.fill(Qt::red);
    const QString first = pathOf(QStringLiteral("wide.jpg"));
    ASSERT_TRUE(wide.save(first, "JPG"));
    QImage tall(32, 64, QImage::Format_RGB32);
    tall.fill(Qt::blue);
    const QString second = pathOf(QStringLiteral("tall.bmp"));
    ASSERT_TRUE(tall.save(second, "BMP"));

    emit main().imgIcon()->clicked(); // nothing selected: no quick view
    EXPECT_EQ(commands().quickView(), nullptr);

    select(first);
    emit main().imgIcon()->clicked();
    ASSERT_NE(commands().quickView(), nullptr);
    EXPECT_TRUE(commands().quickView()->isVisible());
    EXPECT_EQ(commands().quickView()->picture().size(), QSize(64, 32));

    // While it is open, selecting another picture shows that one.
    select(second);
    EXPECT_EQ(commands().quickView()->picture().size(), QSize(32, 64));

    // Closing the main window closes it too.
    main().close();
    EXPECT_FALSE(commands().quickView() && commands().quickView()->isVisible());
}

// Jobs replace an existing result without asking: the save dialog is where the user says yes.
TEST(SaveDialog, AsksBeforeReplacingAnExistingFile) {
    QTemporaryDir dir;
    const QString existing = test::WriteFile(QDir(dir.path()), QStringLiteral("a.txt"), "a");
    QString question;
    bool chosen = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, &answer, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            question = box->text();
            box->button(QMessageBox::Yes)->click();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal); dialog && !chosen) {
            // Typed as a user would (selecting needs the folder's listing, which comes late).
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText("a.txt");
            chosen = dialog->selectedFiles() == QStringList{existing};
            if (chosen)
                QMetaObject::invokeMethod(static_cast<QDialog*>(dialog), &QDialog::accept,
                                          Qt::QueuedConnection);
        }
    });
    answer.start(10);
    EXPECT_EQ(Prompts().askSaveFile(nullptr, QStringLiteral("Salva file..."), dir.path(),
                                    QStringLiteral("Tutti i files (*.*)")),
              existing);
    EXPECT_TRUE(question.contains(QStringLiteral("a.txt"))) << question.toStdString();
}

} // namespace
} // namespace vw::ui
