// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared helpers of the desktop program's tests and the one fixture that runs a whole program.
#include <QTest>
#include <QtWidgets>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "engine/job/StatusCodes.h"
#include "ui/Driver.h"
#include "ui/FileCommands.h"
#include "ui/KeyDialog.h"
#include "ui/MainWindow.h"
#include "ui/Program.h"
#include "ui/ProgressDialog.h"
#include "ui/Prompts.h"

namespace vw::ui::test {

using namespace Qt::StringLiterals;

struct ShownMessage {
    MessageIcon icon;
    QString title, text;
};

// Answers the file dialogs from queues ("" = cancel), recording their folders and messages.
struct ScriptedPrompts : Prompts {
    ScriptedPrompts() { SetPrompts(this); }
    ~ScriptedPrompts() override { SetPrompts(nullptr); }
    void showMessage(QWidget*, MessageIcon icon, const QString& title,
                     const QString& text) override {
        messages.push_back({icon, title, text});
    }
    QString askOpenFile(QWidget*, const QString&, const QString& folder, const QString&) override {
        return answer(openFolders, openAnswers, folder);
    }
    QString askSaveFile(QWidget*, const QString&, const QString& folder, const QString&) override {
        return answer(saveFolders, saveAnswers, folder);
    }
    // Answers no unless told otherwise.
    bool askReplace(QWidget*, const QString& title, const QString& text) override {
        questions.push_back(title + u'|' + text);
        const bool yes = !replaceAnswers.empty() && replaceAnswers.front();
        if (!replaceAnswers.empty()) replaceAnswers.pop_front();
        return yes;
    }
    static QString answer(std::vector<QString>& folders, std::deque<QString>& answers,
                          const QString& folder) {
        folders.push_back(folder);
        const QString next = answers.empty() ? QString() : answers.front();
        if (!answers.empty()) answers.pop_front();
        return next;
    }
    std::deque<QString> openAnswers, saveAnswers;
    std::vector<QString> openFolders, saveFolders;
    std::vector<ShownMessage> messages;
    std::deque<bool> replaceAnswers;
    QStringList questions;
};

void WriteSetting(const QString& key, const QVariant& value); // in the "Config" group
void StorePrivateCode(const std::string& codePageCode);       // encrypted under the computer's name
QString WriteFile(const QDir& folder, const QString& name, const QByteArray& contents);
void SendMouse(QWidget* widget, QEvent::Type type, QPointF at = QPointF(5, 5));
void Press(QObject* target, int key);

template <typename T> T* Child(const QObject* root, const char* name) {
    T* child = root->findChild<T*>(QString::fromLatin1(name));
    if (!child) ADD_FAILURE() << "no control " << name;
    return child;
}

template <typename Sender, typename Signal>
std::shared_ptr<int> Spy(Sender* sender, Signal signal) {
    auto count = std::make_shared<int>(0);
    QObject::connect(sender, signal, sender, [count] { ++*count; });
    return count;
}

// A whole program per test, with scripted dialogs, emptied settings and a folder of its own.
class ProgramFixture : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override {
        program.reset();
        QDir::setCurrent(savedFolder);
    }
    // Starts without a command-line file, the open dialog set to the test's folder.
    void start();
    void select(const QString& path) {
        prompts.openAnswers.push_back(path);
        program->commands().SelectFile();
    }
    // The Encrypt/Decrypt command with a held password and the given output path.
    void runJob(const QString& password, const QString& outputPath) {
        state().password = password;
        prompts.saveAnswers.push_back(outputPath);
        program->commands().RunCryptoCommand();
    }
    // Answers the password dialog's next showing (polled for 5 s) with password; "" closes it.
    void answerPassword(const QString& password);
    // Runs act whenever pending events run while a job runs in the progress dialog (the job's
    // yields); none stops that.
    void duringJob(std::function<void()> act);
    UiState& state() { return program->state(); }
    MainWindow& main() { return program->mainWindow(); }
    ProgressDialog& progress() { return program->progressDialog(); }
    QString file(const QString& name, const QByteArray& contents) {
        return WriteFile(QDir(folder.path()), name, contents);
    }
    QString pathOf(const QString& name) const { return QDir(folder.path()).filePath(name); }

    QTemporaryDir folder;
    QString savedFolder = QDir::currentPath();
    ScriptedPrompts prompts;
    std::unique_ptr<Program> program;
    QTimer jobTimer;
};

} // namespace vw::ui::test
