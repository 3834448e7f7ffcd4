#pragma once
// A whole program per test, with scripted dialogs, a private settings store and a folder.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "UiTestSupport.h"
#include "engine/JobState.h"
#include "ui/FileCommands.h"
#include "ui/KeyDialog.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/ProgressDialog.h"

namespace vw::ui::test {

class ProgramFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ClearSettings();
        QApplication::setQuitOnLastWindowClosed(false);
        JobStatus = 0;
        CancelRequested = false;
    }
    void TearDown() override {
        program.reset();
        QDir::setCurrent(savedFolder);
    }

    // Creates the program once the settings are in place.
    Program& make() {
        program = std::make_unique<Program>();
        return *program;
    }
    UiState& state() { return program->state(); }
    MainWindow& main() { return program->mainWindow(); }
    KeyDialog& key() { return program->keyDialog(); }
    ProgressDialog& progress() { return program->progressDialog(); }
    FileCommands& commands() { return program->commands(); }
    template <typename T> T* control(const char* name) { return Child<T>(&main(), name); }

    // Starts without a command-line file, the open dialog set to the test's folder.
    void start() {
        WriteSetting(QStringLiteral("Folder"), folder.path());
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
    // The next showing of the password dialog is answered with password (or closed for "").
    void answerPassword(const QString& password) {
        KeyDialog* dialog = &key();
        WhenShown(dialog, [dialog, password] {
            Child<QLineEdit>(dialog, "txtCode")->setText(password);
            Child<QLineEdit>(dialog, "txtConfirm")->setText(password);
            Child<QPushButton>(dialog, password.isEmpty() ? "cmdCancel" : "cmdOK")->click();
        });
    }

    QString file(const QString& name, const QByteArray& contents) {
        return WriteFile(QDir(folder.path()), name, contents);
    }
    QString pathOf(const QString& name) const { return QDir(folder.path()).filePath(name); }

    QTemporaryDir folder;
    QString savedFolder = QDir::currentPath();
    ScriptedPrompts prompts;
    std::unique_ptr<Program> program;
};

} // namespace vw::ui::test
