#include "UiTestSupport.h"

#include <QFile>
#include <QSettings>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "engine/Cipher.h"
#include "platform/QtHost.h"

namespace vw::ui::test {
namespace {

// Points the per-user settings store at a folder of the tests before anything reads it, so
// the tests never see or touch the real user's settings.
class SettingsEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    }

  private:
    QTemporaryDir folder_;
};

[[maybe_unused]] ::testing::Environment* const settingsEnvironment =
    ::testing::AddGlobalTestEnvironment(new SettingsEnvironment);

QSettings OpenSettings() {
    const QString name = QString::fromLatin1(kSettingsApplication);
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, name, name);
}

QString Next(std::deque<QString>& answers) {
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace

void ScriptedPrompts::showMessage(QWidget*, MessageIcon icon, const QString& title,
                                  const QString& text) {
    messages.push_back({icon, title, text});
    if (onMessage) onMessage(messages.back());
}

QString ScriptedPrompts::askOpenFile(QWidget*, const QString&, const QString& folder,
                                     const QString&) {
    openFolders.push_back(folder);
    return Next(openAnswers);
}

QString ScriptedPrompts::askSaveFile(QWidget*, const QString&, const QString& folder,
                                     const QString&) {
    saveFolders.push_back(folder);
    return Next(saveAnswers);
}

void ClearSettings() {
    QSettings settings = OpenSettings();
    settings.clear();
    settings.sync();
}

void WriteSetting(const QString& key, const QVariant& value) {
    QSettings settings = OpenSettings();
    settings.setValue(QString::fromLatin1(kSettingsGroup) + QLatin1Char('/') + key, value);
    settings.sync();
}

void StorePrivateCode(const std::string& codePageCode) {
    InitCipher(QSysInfo::machineHostName().toStdString(), "");
    QString hex;
    for (const char c : codePageCode)
        hex += QStringLiteral("%1").arg(EncryptByte(static_cast<std::uint8_t>(c)), 2, 16,
                                        QLatin1Char('0'));
    WriteSetting(QStringLiteral("OFB"), hex.toUpper());
}

QString WriteFile(const QDir& folder, const QString& name, const QByteArray& contents) {
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    return path;
}

QByteArray ReadWholeFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WhenShown(QWidget* widget, std::function<void()> action) {
    auto* timer = new QTimer();
    auto remaining = std::make_shared<int>(500);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, widget, action, remaining] {
        const bool shown = widget->isVisible();
        if (!shown && --*remaining > 0) return;
        timer->deleteLater();
        timer->stop();
        if (shown)
            action();
        else
            ADD_FAILURE() << "window never shown: " << widget->objectName().toStdString();
    });
    timer->start(10);
}

} // namespace vw::ui::test
