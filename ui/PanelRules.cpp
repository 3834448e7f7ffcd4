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
const QChar kEllipsis(0x2026);
// A file name shortened beside its whole folder keeps at least this many characters.
constexpr qsizetype kLeastOfAName = 4;

// text shortened in its middle with "…" to the most characters fits takes, keeping at least
// leastKept of them; "" when even that does not fit.
QString ElideMiddle(const QString& text, const std::function<bool(const QString&)>& fits,
                    qsizetype leastKept) {
    if (fits(text)) return text;
    const auto cut = [&text](qsizetype kept) {
        const qsizetype right = kept / 2;
        return text.left(kept - right) + kEllipsis + text.right(right);
    };
    qsizetype low = std::min(leastKept, text.size() - 1);
    if (low < 0 || !fits(cut(low))) return {};
    qsizetype high = text.size() - 1; // cut(low) fits; more than high kept is the whole text
    while (low < high) {
        const qsizetype mid = (low + high + 1) / 2;
        if (fits(cut(mid))) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    return cut(low);
}

} // namespace

QString ShortenPath(const QString& path, int widthTwips, const TextWidthTwips& measure) {
    const int limit = widthTwips - kShortenMarginTwips;
    const auto fits = [&](const QString& text) { return measure(text) < limit; };
    if (fits(path)) return path;
    // The root takes the place of the drive: "/.../" for an absolute path, ".../" otherwise.
    const bool absolute = path.startsWith(QLatin1Char('/'));
    const QString prefix = absolute ? QStringLiteral("/.../") : QStringLiteral(".../");
    const QStringList parts = (absolute ? path.mid(1) : path).split(QLatin1Char('/'));
    // Whole folders go from the root on, down to the folder nearest the file.
    for (qsizetype first = 1; first + 2 <= parts.size(); ++first) {
        const QString shortened = prefix + parts.mid(first).join(QLatin1Char('/'));
        if (fits(shortened)) return shortened;
    }
    const QString name = parts.last();
    const auto fitsAfterPrefix = [&](const QString& rest) { return fits(prefix + rest); };
    if (parts.size() == 1) return prefix + ElideMiddle(name, fitsAfterPrefix, 0);
    // The folder nearest the file says where it is (the name has a label of its own): the
    // name is shortened first, as long as a few of its characters stay, then the folder.
    const QString folder = parts[parts.size() - 2];
    const QString slash(QLatin1Char('/'));
    const QString shortName = ElideMiddle(
        name, [&](const QString& n) { return fitsAfterPrefix(folder + slash + n); }, kLeastOfAName);
    if (!shortName.isEmpty()) return prefix + folder + slash + shortName;
    for (const QString& after : {name, QString(kEllipsis)}) {
        const QString shortFolder = ElideMiddle(
            folder, [&](const QString& f) { return fitsAfterPrefix(f + slash + after); }, 0);
        if (!shortFolder.isEmpty()) return prefix + shortFolder + slash + after;
    }
    return prefix;
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
