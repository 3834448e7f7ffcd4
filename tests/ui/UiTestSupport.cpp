#include "UiTestSupport.h"

#include <QFile>
#include <QSettings>
#include <QSysInfo>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>

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
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder_.path());
    }

  private:
    QTemporaryDir folder_;
};

[[maybe_unused]] ::testing::Environment* const settingsEnvironment =
    ::testing::AddGlobalTestEnvironment(new SettingsEnvironment);

QSettings OpenSettings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromLatin1(kSettingsApplication),
                     QString::fromLatin1(kSettingsApplication));
}

} // namespace

ScriptedPrompts::ScriptedPrompts() {
    SetPrompts(this);
}

ScriptedPrompts::~ScriptedPrompts() {
    SetPrompts(nullptr);
}

void ScriptedPrompts::showMessage(QWidget*, MessageIcon icon, const QString& title,
                                  const QString& text) {
    messages.push_back({icon, title, text});
    if (onMessage) onMessage(messages.back());
}

QString ScriptedPrompts::askOpenFile(QWidget*, const QString& title, const QString& folder,
                                     const QString& filter) {
    openAsked.push_back({title, folder, filter});
    if (openAnswers.empty()) return {};
    QString answer = openAnswers.front();
    openAnswers.pop_front();
    return answer;
}

QString ScriptedPrompts::askSaveFile(QWidget*, const QString& title, const QString& folder,
                                     const QString& filter) {
    saveAsked.push_back({title, folder, filter});
    if (saveAnswers.empty()) return {};
    QString answer = saveAnswers.front();
    saveAnswers.pop_front();
    return answer;
}

void ClearSettings() {
    QSettings settings = OpenSettings();
    settings.clear();
    settings.sync();
}

void WriteSetting(const QString& key, const QVariant& value) {
    QSettings settings = OpenSettings();
    settings.beginGroup(QString::fromLatin1(kSettingsGroup));
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
}

void StorePrivateCode(const std::string& codePageCode) {
    InitCipher(QSysInfo::machineHostName().toStdString(), "");
    QString hex;
    for (const char c : codePageCode) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", EncryptByte(static_cast<std::uint8_t>(c)));
        hex += QLatin1String(pair);
    }
    WriteSetting(QStringLiteral("OFB"), hex);
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
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void WhenShown(QWidget* widget, std::function<void()> action, int timeoutMs) {
    auto* timer = new QTimer();
    auto remaining = std::make_shared<int>(timeoutMs / 10);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, widget, action, remaining] {
        if (widget->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action();
        } else if (--*remaining <= 0) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "window never shown: " << widget->objectName().toStdString();
        }
    });
    timer->start();
}

} // namespace vw::ui::test
