// Opening files, the properties of a file and the save dialog, with the desktop scripted.
#include "ui/DesktopActions.h"
#include "ui/PropertiesWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>

#include "UiTestSupport.h"

namespace vw::ui {
namespace {

struct ScriptedShell : DesktopShell {
    bool openAnswer = true;
    bool chooserAnswer = true;
    std::vector<std::pair<QUrl, QString>> opened;
    std::vector<QString> chosen;
    std::function<void(bool)> propertiesDone; // the file manager's answer, still to come

    bool openUrl(const QUrl& url, const QString& verb) override {
        opened.emplace_back(url, verb);
        return openAnswer;
    }
    bool chooseApplication(const QString& path) override {
        chosen.push_back(path);
        return chooserAnswer;
    }
    void showItemProperties(const QUrl&, std::function<void(bool)> done) override {
        propertiesDone = std::move(done);
    }
};

class DesktopActionsTest : public ::testing::Test {
  protected:
    void SetUp() override { SetDesktopShell(&shell); }
    void TearDown() override { SetDesktopShell(nullptr); }
    QString makeFile(const QString& name) {
        return test::WriteFile(QDir(dir.path()), name, QByteArray(2048, 'x'));
    }
    QTemporaryDir dir;
    ScriptedShell shell;
    test::ScriptedPrompts prompts;
};

TEST_F(DesktopActionsTest, OpensWithItsVerbThenTheChooserThenTellsTheUser) {
    const QString song = makeFile("song.Mp3");
    OpenSelectedFile(song);
    OpenSelectedFile(QString()); // nothing selected: nothing opened
    OpenSelectedFile(dir.filePath("gone.txt"));
    ASSERT_EQ(shell.opened.size(), 1u);
    EXPECT_EQ(shell.opened[0], std::make_pair(QUrl::fromLocalFile(song), QStringLiteral("play")));
    EXPECT_EQ(ShellVerbFor("notes.mp4"), "open");
    shell.openAnswer = false;
    const QString odd = makeFile("data.xyz");
    OpenSelectedFile(odd);
    EXPECT_EQ(shell.chosen, std::vector<QString>{odd});
    EXPECT_TRUE(prompts.messages.empty());
    shell.chooserAnswer = false;
    OpenSelectedFile(odd);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Lumora"));
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Tipo File Sconosciuto"));
}

TEST_F(DesktopActionsTest, OwnPropertiesWindowOnlyWhenTheFileManagerDoesNotShowThem) {
    QWidget owner;
    EXPECT_EQ(ShowFileProperties(dir.filePath("gone.txt"), &owner), kPropertiesNotShown);
    const QString path = makeFile("report.txt");
    for (const bool fileManagerShows : {true, false}) {
        EXPECT_EQ(ShowFileProperties(path, &owner), kPropertiesShown);
        EXPECT_TRUE(owner.findChildren<PropertiesWindow*>().isEmpty()); // not before the answer
        shell.propertiesDone(fileManagerShows);
        EXPECT_EQ(owner.findChildren<PropertiesWindow*>().size(), fileManagerShows ? 0 : 1);
    }
    auto* window = owner.findChild<PropertiesWindow*>();
    EXPECT_EQ(window->text(PropertiesWindow::Field::Size), "2,0 KB (2.048 byte)");
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
