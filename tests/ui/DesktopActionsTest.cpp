// Opening files and the properties of a file with the desktop scripted, and the save dialog.
#include "ui/DesktopActions.h"
#include "ui/PropertiesWindow.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include "UiTestSupport.h"

namespace vw::ui {
namespace {

struct ScriptedShell : DesktopShell {
    ScriptedShell() { SetDesktopShell(this); }
    ~ScriptedShell() override { SetDesktopShell(nullptr); }
    bool openUrl(const QUrl& url, const QString& verb) override {
        opened.push_back(url.toLocalFile() + " " + verb);
        return answers[0];
    }
    bool chooseApplication(const QString& path) override {
        opened.push_back(path + " chooser");
        return answers[1];
    }
    void showItemProperties(const QUrl&, std::function<void(bool)> done) override {
        done(answers[2]);
    }
    bool answers[3] = {true, true, true}; // of the opener, the chooser and the file manager
    QStringList opened;
};

// A file opens with its verb, else through the chooser, else the user is told; the properties
// come from the file manager, else from a window of our own. No file: nothing happens.
TEST(DesktopActions, EachFallbackInTurn) {
    QTemporaryDir dir;
    test::ScriptedPrompts prompts;
    ScriptedShell shell;
    QWidget owner;
    const QString song = test::WriteFile(QDir(dir.path()), "song.Mp3", QByteArray(2048, 'x'));
    for (const bool opens : {true, false}) {
        shell.answers[0] = shell.answers[1] = shell.answers[2] = opens;
        OpenSelectedFile(song);
        OpenSelectedFile(dir.filePath("gone.txt"));
        EXPECT_EQ(ShowFileProperties(song, &owner), kPropertiesShown);
    }
    EXPECT_EQ(shell.opened, QStringList({song + " play", song + " play", song + " chooser"}));
    EXPECT_EQ(ShellVerbFor("song.mp4"), "open");
    EXPECT_EQ(owner.findChildren<PropertiesWindow*>().size(), 1);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, QStringLiteral("Tipo File Sconosciuto"));
    EXPECT_EQ(prompts.messages[0].title, QStringLiteral("Lumora"));
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
