#include "UiTestSupport.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSysInfo>
#include <QTimer>

#include "engine/Cipher.h"
#include "platform/QtHost.h"

namespace vw::ui::test {
namespace {

QSettings OpenSettings() {
    const QString name = QString::fromLatin1(kSettingsApplication);
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, name, name);
}

} // namespace

QString ScriptedPrompts::answer(std::vector<QString>& folders, std::deque<QString>& answers,
                                const QString& folder) {
    folders.push_back(folder);
    if (answers.empty()) return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

void WriteSetting(const QString& key, const QVariant& value) {
    OpenSettings().setValue(QString::fromLatin1(kSettingsGroup) + QLatin1Char('/') + key, value);
}

void StorePrivateCode(const std::string& codePageCode) {
    InitCipher(QSysInfo::machineHostName().toStdString(), "");
    QString hex;
    for (const char c : codePageCode)
        hex +=
            QStringLiteral("%1").arg(EncryptByte(static_cast<std::uint8_t>(c)), 2, 16, QChar('0'));
    WriteSetting(QStringLiteral("OFB"), hex);
}

QString WriteFile(const QDir& folder, const QString& name, const QByteArray& contents) {
    QFile file(folder.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    return file.fileName();
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

void ProgramFixture::SetUp() {
    ASSERT_TRUE(folder.isValid());
    OpenSettings().clear();
    QApplication::setQuitOnLastWindowClosed(false);
    JobStatus = 0;
    CancelRequested = false;
    program = std::make_unique<Program>();
}

void ProgramFixture::start() {
    WriteSetting(QStringLiteral("Folder"), folder.path());
    program.reset(); // one program at a time; the new one reads the settings as it is made
    program = std::make_unique<Program>();
    program->Start(QString());
}

void ProgramFixture::answerPassword(const QString& password) {
    KeyDialog* dialog = &program->keyDialog();
    WhenShown(dialog, [dialog, password] {
        Child<QLineEdit>(dialog, "txtCode")->setText(password);
        Child<QLineEdit>(dialog, "txtConfirm")->setText(password);
        Child<QPushButton>(dialog, password.isEmpty() ? "cmdCancel" : "cmdOK")->click();
    });
}

} // namespace vw::ui::test
