// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QtHost.h"

#include <QCoreApplication>
#include <QSettings>
#include <QStringList>
#include <QSysInfo>
#include <QVariant>

#include "platform/TextCodec.h"

namespace vw {
namespace {

// GetComputerNameA's buffer of 255 characters holds at most 254 and the terminator.
constexpr qsizetype kMaxComputerName = 254;

} // namespace

QtHost::QtHost(QString application) : application_(std::move(application)) {}

QString QtHost::ReadText(const QString& key, const QString& defaultValue) const {
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
