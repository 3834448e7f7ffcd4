// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtHost.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QSysInfo>
#include <QVariant>

#include "platform/TextCodec.h"

namespace vw {
namespace {

// GetComputerNameA's buffer of 255 characters holds at most 254 and the terminator.
constexpr qsizetype kMaxComputerName = 254;

// Makes the file at path (created empty when missing) readable and writable by the user alone,
// before a secret goes into it: the settings are written into a new file that takes the old
// one's permissions, so the secret is never readable by others, not even for a moment.
bool MakeUsersOwn(const QString& path) {
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0) return false;
    const bool own = ::fchmod(fd, 0600) == 0;
    ::close(fd);
    return own;
}

// Where QSettings keeps an application's user settings of its own name, worked out without
// opening it (QSettings reads its file as soon as it is made).
QString UserSettingsPath(const QString& application) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return folder + u'/' + application + u'/' + application + QStringLiteral(".conf");
}

// Whether the settings file is one to read and write: missing, or a regular file. Anything else
// there (a FIFO, a device, a folder) would hang or fail the program; it is left alone.
bool IsSettingsFile(const QString& application) {
    struct stat info {};
    const QByteArray path = QFile::encodeName(UserSettingsPath(application));
    return ::stat(path.constData(), &info) != 0 ? errno == ENOENT : S_ISREG(info.st_mode);
}

} // namespace

QtHost::QtHost(QString application) : application_(std::move(application)) {}

QString QtHost::ReadText(const QString& key, const QString& defaultValue) const {
    if (!IsSettingsFile(application_)) return defaultValue;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application_, application_);
    // Only the user's own file of this application: a system-wide file (XDG_CONFIG_DIRS) or
    // one shared by the organisation must never supply a value, least of all a private code.
    settings.setFallbacksEnabled(false);
    settings.beginGroup(QString::fromLatin1(kSettingsGroup));
    const QVariant value = settings.value(key);
    if (!value.isValid()) return defaultValue;
    // An unquoted value with commas reads back as a list; it was one text when written.
    if (value.typeId() == QMetaType::QStringList) return value.toStringList().join(u',');
    return value.toString();
}

bool QtHost::ReadBool(const QString& key, bool defaultValue) const {
    const QString missing = QStringLiteral("\x01missing");
    const QString text = ReadText(key, missing);
    if (text == missing) return defaultValue;
    return ParseStoredBool(text);
}

std::string QtHost::ReadSetting(const std::string& key, const std::string& defaultValue) {
    const QString missing = QStringLiteral("\x01missing");
    const QString text = ReadText(FromCp1252(key), missing);
    if (text == missing) return defaultValue;
    return ToCp1252(text);
}

QString QtHost::SettingsFilePath() const {
    if (!IsSettingsFile(application_)) return UserSettingsPath(application_);
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, application_, application_)
        .fileName();
}

bool QtHost::StoreText(const QString& key, const QString& value) {
    if (!IsSettingsFile(application_)) return false;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application_, application_);
    settings.setFallbacksEnabled(false);
    if (!settings.isWritable() || !MakeUsersOwn(settings.fileName())) return false;
    settings.setValue(QString::fromLatin1(kSettingsGroup) + u'/' + key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

bool QtHost::RemoveSetting(const QString& key) {
    if (!IsSettingsFile(application_)) return false;
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, application_, application_);
    settings.setFallbacksEnabled(false);
    const QString name = QString::fromLatin1(kSettingsGroup) + u'/' + key;
    if (!settings.contains(name)) return true; // nothing to write, nor a folder to make for it
    if (!settings.isWritable()) return false;
    settings.remove(name);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

std::string QtHost::ComputerName() {
    const QString name = QSysInfo::machineHostName();
    if (name.size() > kMaxComputerName) return {};
    return ToCp1252(name);
}

bool ParseStoredBool(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.compare(u"True", Qt::CaseInsensitive) == 0) return true;
    if (trimmed.compare(u"False", Qt::CaseInsensitive) == 0) return false;
    bool isNumber = false;
    const double number = trimmed.toDouble(&isNumber);
    return isNumber && number != 0;
}

} // namespace vw
