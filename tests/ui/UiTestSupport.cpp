// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "UiTestSupport.h"

#include "engine/cipher/PrivateCode.h"
#include "platform/QtHost.h"
#include "platform/QtHost.h"

namespace vw::ui::test {

static QSettings OpenSettings() {
    const QString name = QString::fromLatin1(kSettingsApplication);
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, name, name);
}

void WriteSetting(const QString& key, const QVariant& value) {
    OpenSettings().setValue(QString::fromLatin1(kSettingsGroup) + QLatin1Char('/') + key, value);
}

void StorePrivateCode(const std::string& codePageCode) {
    QtHost host; // the computer's name as the program reads it
    WriteSetting(u"OFB"_s, QString::fromLatin1(EncryptPrivateCode(host, codePageCode)));
}

QString WriteFile(const QDir& folder, const QString& name, const QByteArray& contents) {
    QFile file(folder.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    return file.fileName();
}

void SendMouse(QWidget* widget, QEvent::Type type, QPointF at) {
    // A move is made with the button held, as in a drag.
    const auto held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const auto button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void Press(QObject* target, int key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, key == Qt::Key_Return ? "\r" : "");
    QCoreApplication::sendEvent(target, &event);
}

void ProgramFixture::SetUp() {
    OpenSettings().clear();
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

void ProgramFixture::duringJob(std::function<void()> act) {
    jobTimer.disconnect();
    jobTimer.stop();
    if (!act) return;
    jobTimer.setInterval(0);
    QObject::connect(&jobTimer, &QTimer::timeout, &jobTimer, [this, act] {
        if (progress().isVisible() && !progress().lblName()->text().isEmpty()) act();
    });
    jobTimer.start();
}

void ProgramFixture::answerPassword(const QString& password) {
    KeyDialog* dialog = &program->keyDialog();
    auto* timer = new QTimer();
    auto remaining = std::make_shared<int>(500);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        if (!dialog->isVisible() && --*remaining > 0) return;
        timer->deleteLater();
        timer->stop();
        if (!dialog->isVisible()) return ADD_FAILURE() << "no password dialog";
        Child<QLineEdit>(dialog, "txtCode")->setText(password);
        Child<QLineEdit>(dialog, "txtConfirm")->setText(password);
        Child<QPushButton>(dialog, password.isEmpty() ? "cmdCancel" : "cmdOK")->click();
    });
    timer->start(10);
}

} // namespace vw::ui::test

// One offscreen QApplication, with a settings store of its own: the user's are never touched.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
