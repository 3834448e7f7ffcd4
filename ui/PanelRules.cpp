// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/PanelRules.h"

#include <QCoreApplication>
#include <cmath>

#include "engine/io/Bytes.h"
#include "engine/text/PasswordRules.h"
#include "platform/JobText.h"
#include "platform/TextCodec.h"
#include "ui/PathTail.h"

namespace vw::ui {
namespace {

struct Texts {
    Q_DECLARE_TR_FUNCTIONS(vw::ui::PanelRules)
};

// The panel's labels leave this much room to the right of a shortened path.
constexpr int kShortenMarginTwips = 200;
// Drops the first folder of rest (with its "/"), or one character when no folder is left.
void DropLeadingElement(QString& rest) {
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash >= 0 && slash != rest.size() - 1) {
        rest.remove(0, slash + 1);
    } else {
        rest.remove(0, 1);
    }
}

} // namespace

QString ShortenPath(const QString& path, int widthTwips, const TextWidthTwips& measure) {
    const int limit = widthTwips - kShortenMarginTwips;
    if (measure(path) < limit) return path;
    // The root takes the place of the drive: "/.../" for an absolute path, ".../" otherwise.
    const bool absolute = path.startsWith(QLatin1Char('/'));
    const QString prefix = absolute ? QStringLiteral("/.../") : QStringLiteral(".../");
    QString rest = absolute ? path.mid(1) : path;
    QString shortened = prefix + rest;
    int width = 0;
    do {
        width = measure(shortened);
        if (width >= limit) {
            if (rest.isEmpty()) break;
            DropLeadingElement(rest);
            shortened = prefix + rest;
        }
    } while (width > limit);
    return shortened;
}

QString TimeEstimateCaption(qint64 length) {
    const double seconds = static_cast<double>(length) / kProtectBytesPerSecond;
    const auto minutes = static_cast<qint64>(std::floor(seconds / 60.0));
    auto rest = static_cast<qint64>(std::floor(seconds - static_cast<double>(minutes) * 60.0));
    if (rest == 0) rest = 1;
    return Texts::tr("%1 min %2 sec ").arg(minutes).arg(rest);
}

QString AttributeText(bool system, bool readOnly, bool hidden) {
    QString text;
    if (system) text = Texts::tr("Systemfile  ");
    if (readOnly) text += Texts::tr("Read-only  ");
    if (hidden) text += Texts::tr("Hidden");
    return text.trimmed();
}

QString SizeCaption(qint64 length, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(length) + Texts::tr(" Bytes");
}

QString AttributeSuffix(const QString& words) {
    const QString trimmed = words.trimmed();
    if (trimmed.isEmpty()) return {};
    return QStringLiteral("  (") + trimmed + QStringLiteral(")");
}

bool IsPanelPicture(const QString& path) {
    const QString tail = PathTail(path);
    return tail == QLatin1String(".JPG") || tail == QLatin1String("JPEG") ||
           tail == QLatin1String(".BMP") || tail == QLatin1String(".WMF") ||
           tail == QLatin1String(".GIF");
}

QString PasswordRefusal(const QString& code, const QString& confirm) {
    std::string codeText = ToUtf8(code);
    std::string confirmText = ToUtf8(confirm);
    const PasswordVerdict verdict = JudgePassword(codeText, confirmText);
    const QString refusal = PasswordRefusalText(verdict, codeText);
    SecureWipe(codeText);
    SecureWipe(confirmText);
    return refusal;
}

} // namespace vw::ui
