#pragma once
// Shared helpers of the desktop program's tests: scripted prompts, a private settings store,
// temporary files and answering modal windows from inside their event loops.
#include <QDir>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <deque>
#include <functional>
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

struct AskedDialog {
    QString title;
    QString folder;
    QString filter;
};

// Answers the file dialogs from queues ("" = cancel) and records every message box.
class ScriptedPrompts : public Prompts {
  public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    void showMessage(QWidget* parent, MessageIcon icon, const QString& title,
                     const QString& text) override;
    QString askOpenFile(QWidget* parent, const QString& title, const QString& folder,
                        const QString& filter) override;
    QString askSaveFile(QWidget* parent, const QString& title, const QString& folder,
                        const QString& filter) override;

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::vector<ShownMessage> messages;
    std::vector<AskedDialog> openAsked;
    std::vector<AskedDialog> saveAsked;
    // Runs when a message box is shown (for instance to look at the windows behind it).
    std::function<void(const ShownMessage&)> onMessage;
};

// The settings store of the tests: a folder of its own, emptied before each test.
void ClearSettings();
void WriteSetting(const QString& key, const QVariant& value);
// Stores code as the private crypto code, encrypted under this computer's name.
void StorePrivateCode(const std::string& codePageCode);

// Writes a file and returns its path.
QString WriteFile(const QDir& folder, const QString& name, const QByteArray& contents);
QByteArray ReadWholeFile(const QString& path);

// Counts the emissions of a signal.
template <typename Sender, typename Signal>
std::shared_ptr<int> Spy(Sender* sender, Signal signal) {
    auto count = std::make_shared<int>(0);
    QObject::connect(sender, signal, sender, [count] { ++*count; });
    return count;
}

// Runs action once widget is visible (polls from the event loop; gives up after timeoutMs).
void WhenShown(QWidget* widget, std::function<void()> action, int timeoutMs = 5000);

} // namespace vw::ui::test
