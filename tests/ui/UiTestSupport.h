#pragma once
// Shared helpers of the desktop program's tests: scripted prompts, a private settings store,
// temporary files, controls found by name and answering modal windows from their event loops.
#include <QDir>
#include <QObject>
#include <QString>
#include <QVariant>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "ui/Prompts.h"

class QWidget;

namespace vw::ui::test {

struct ShownMessage {
    MessageIcon icon;
    QString title;
    QString text;
};

// Answers the file dialogs from queues ("" = cancel) and records every message box and the
// folder each file dialog opened in.
class ScriptedPrompts : public Prompts {
  public:
    ScriptedPrompts() { SetPrompts(this); }
    ~ScriptedPrompts() override { SetPrompts(nullptr); }

    void showMessage(QWidget* parent, MessageIcon icon, const QString& title,
                     const QString& text) override;
    QString askOpenFile(QWidget*, const QString&, const QString& folder, const QString&) override;
    QString askSaveFile(QWidget*, const QString&, const QString& folder, const QString&) override;

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::vector<ShownMessage> messages;
    std::vector<QString> openFolders;
    std::vector<QString> saveFolders;
    std::function<void(const ShownMessage&)> onMessage; // runs as a message box is shown
};

// The settings store of the tests: a folder of its own, emptied before each program test.
void ClearSettings();
void WriteSetting(const QString& key, const QVariant& value);
// Stores code as the private crypto code, encrypted under this computer's name.
void StorePrivateCode(const std::string& codePageCode);

// Writes a file and returns its path.
QString WriteFile(const QDir& folder, const QString& name, const QByteArray& contents);
QByteArray ReadWholeFile(const QString& path);

// The control of root named name (its design name); a failed test when there is none.
template <typename T> T* Child(const QObject* root, const char* name) {
    T* child = root->findChild<T*>(QString::fromLatin1(name));
    if (!child) ADD_FAILURE() << "no control " << name;
    return child;
}

// Counts the emissions of a signal.
template <typename Sender, typename Signal>
std::shared_ptr<int> Spy(Sender* sender, Signal signal) {
    auto count = std::make_shared<int>(0);
    QObject::connect(sender, signal, sender, [count] { ++*count; });
    return count;
}

// Runs action once widget is visible (polls from the event loop; gives up after 5 s).
void WhenShown(QWidget* widget, std::function<void()> action);

} // namespace vw::ui::test
