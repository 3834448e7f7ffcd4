#include "ui/PanelRules.h"

#include <algorithm>
#include <cmath>

#include "engine/Driver.h"
#include "engine/JobState.h"
#include "platform/TextCodec.h"

namespace vw::ui {
namespace {

// The panel's labels leave this much room to the right of a shortened path.
constexpr int kShortenMarginTwips = 200;
// Three points a character; 34 characters already reach the top of the meter.
constexpr std::size_t kFullScoreLength = 34;

bool IsUpper(unsigned char c) {
    return c >= 65 && c <= 90;
}
bool IsLower(unsigned char c) {
    return c >= 97 && c <= 122;
}
bool IsDigit(unsigned char c) {
    return c >= 48 && c <= 57;
}
bool IsSymbol(unsigned char c) {
    return c < 48 || (c >= 58 && c <= 64) || c > 122;
}

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
    return QStringLiteral("%1 min %2 sec ").arg(minutes).arg(rest);
}

QString AttributeText(bool system, bool readOnly, bool hidden) {
    QString text;
    if (system) text = QStringLiteral("Systemfile  ");
    if (readOnly) text += QStringLiteral("Read-only  ");
    if (hidden) text += QStringLiteral("Hidden");
    return text.trimmed();
}

QString SizeCaption(qint64 length, const QLocale& locale) {
    QLocale grouped = locale;
    grouped.setNumberOptions(grouped.numberOptions() & ~QLocale::OmitGroupSeparator);
    return grouped.toString(length) + QStringLiteral(" Bytes");
}

QString AttributeSuffix(const QString& words) {
    const QString trimmed = words.trimmed();
    if (trimmed.isEmpty()) return {};
    return QStringLiteral("  (") + trimmed + QStringLiteral(")");
}

bool IsPanelPicture(const QString& path) {
    const QString tail = path.right(4).toUpper();
    return tail == QLatin1String(".JPG") || tail == QLatin1String("JPEG") ||
           tail == QLatin1String(".BMP") || tail == QLatin1String(".WMF") ||
           tail == QLatin1String(".GIF");
}

int RateKeyQuality(const std::string& codePageText) {
    // Long texts reach the top whatever their characters; this also keeps the score within
    // 16 bits for texts of any length.
    if (codePageText.size() >= kFullScoreLength) return 100;
    double score = 3.0 * static_cast<double>(codePageText.size());
    bool upper = false;
    bool lower = false;
    for (const char ch : codePageText) {
        const auto c = static_cast<unsigned char>(ch);
        upper = upper || IsUpper(c);
        lower = lower || IsLower(c);
    }
    if (upper && lower) score = RoundHalfEven(score * 1.2);
    const auto digit = std::find_if(codePageText.begin(), codePageText.end(),
                                    [](char c) { return IsDigit(static_cast<unsigned char>(c)); });
    if (digit != codePageText.end() && (upper || lower)) score = RoundHalfEven(score * 1.4);
    const auto symbol = std::find_if(codePageText.begin(), codePageText.end(), [](char c) {
        return IsSymbol(static_cast<unsigned char>(c));
    });
    if (symbol != codePageText.end()) score = RoundHalfEven(score * 1.5);
    return std::min(static_cast<int>(score), 100);
}

QString PasswordRefusal(const QString& code, const QString& confirm) {
    if (confirm != code || code.isEmpty()) return QStringLiteral("Le password non conincidono");
    if (!IsAcceptablePassword(ToCp1252(code))) return QStringLiteral("Password troppo corta");
    return {};
}

} // namespace vw::ui
