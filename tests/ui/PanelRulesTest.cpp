#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <utility>

#include "ui/PanelRules.h"

namespace vw::ui {
namespace {

using namespace Qt::StringLiterals;

// Every character 100 twips wide: a limit of L twips holds L / 100 characters.
int HundredTwipsEach(const QString& text) {
    return static_cast<int>(text.size()) * 100;
}

TEST(ShortenPath, PathThatFitsIsReturnedUnchanged) {
    // Width 5505 leaves a limit of 5305 twips: 53 characters fit, 54 do not.
    const QString fits = QLatin1Char('/') + QString(52, QLatin1Char('a'));
    EXPECT_EQ(ShortenPath(fits, 5505, HundredTwipsEach), fits);
    const QString tooLong = fits + QLatin1Char('b');
    EXPECT_NE(ShortenPath(tooLong, 5505, HundredTwipsEach), tooLong);
}

TEST(ShortenPath, DropsLeadingFoldersUntilTheRestFits) {
    const QString path =
        QStringLiteral("/home/user/documents/projects/2024/reports/quarterly/summary-final.txt");
    // Limit 3000: "/.../quarterly/summary-final.txt" (32 characters) is still too wide.
    EXPECT_EQ(ShortenPath(path, 3200, HundredTwipsEach), QStringLiteral("/.../summary-final.txt"));
    // Limit 3300: the last folder fits as well.
    EXPECT_EQ(ShortenPath(path, 3500, HundredTwipsEach),
              QStringLiteral("/.../quarterly/summary-final.txt"));
}

TEST(ShortenPath, OneLongElementIsShortenedCharacterByCharacter) {
    const QString path = QStringLiteral("/averyveryverylongfilenamewithoutfolders.txt");
    // Limit 2050: "/.../" and the last 15 characters make 20 characters, 2000 twips.
    EXPECT_EQ(ShortenPath(path, 2250, HundredTwipsEach), QStringLiteral("/.../") + path.right(15));
    // A text exactly as wide as the limit still loses one more character.
    EXPECT_EQ(ShortenPath(path, 2200, HundredTwipsEach), QStringLiteral("/.../") + path.right(14));
}

TEST(ShortenPath, StopsWhenNothingIsLeftToDropAndKeepsNoRootForRelativePaths) {
    EXPECT_EQ(ShortenPath(QStringLiteral("/a/b/c.txt"), 300, HundredTwipsEach),
              QStringLiteral("/.../"));
    EXPECT_EQ(ShortenPath(QStringLiteral("docs/reports/2024/b.txt"), 1200, HundredTwipsEach),
              QStringLiteral(".../b.txt"));
}

TEST(ShortenPath, RealFontResultFitsItsLabel) {
    const QFontMetrics metrics{QFont()};
    const auto measure = [&metrics](const QString& text) {
        return metrics.horizontalAdvance(text) * kPixelTwips;
    };
    const QString path = QStringLiteral(
        "/home/someone/Documents/Archive/Very long folder name/Another level/and one more/"
        "deeper still/letter to the bank.odt");
    const QString shortened = ShortenPath(path, 5505, measure);
    EXPECT_TRUE(shortened.startsWith(QStringLiteral("/.../")));
    EXPECT_TRUE(shortened.endsWith(QStringLiteral("/letter to the bank.odt")));
    EXPECT_LE(measure(shortened), 5305);
}

TEST(TimeEstimateCaption, MinutesAndSecondsWithZeroSecondsReadingOne) {
    const auto bytesFor = [](double seconds) {
        return static_cast<qint64>(seconds * kProtectBytesPerSecond);
    };
    EXPECT_EQ(TimeEstimateCaption(0), QStringLiteral("0 min 1 sec "));
    EXPECT_EQ(TimeEstimateCaption(bytesFor(1)), QStringLiteral("0 min 1 sec "));
    EXPECT_EQ(TimeEstimateCaption(bytesFor(59.9)), QStringLiteral("0 min 59 sec "));
    EXPECT_EQ(TimeEstimateCaption(bytesFor(61)), QStringLiteral("1 min 1 sec "));
    EXPECT_EQ(TimeEstimateCaption(bytesFor(125)), QStringLiteral("2 min 5 sec "));
    EXPECT_EQ(TimeEstimateCaption(bytesFor(120)), QStringLiteral("2 min 1 sec "));
}

TEST(SizeCaption, GroupsDigitsByTheLocale) {
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    EXPECT_EQ(SizeCaption(1234567, italian), QStringLiteral("1.234.567 Bytes"));
    EXPECT_EQ(SizeCaption(0, italian), QStringLiteral("0 Bytes"));
    EXPECT_EQ(SizeCaption(999, italian), QStringLiteral("999 Bytes"));
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(SizeCaption(3000000000LL, english), QStringLiteral("3,000,000,000 Bytes"));
}

TEST(SizeCaption, AttributeWordsFollowInBrackets) {
    EXPECT_EQ(AttributeText(false, false, false), QString());
    EXPECT_EQ(AttributeSuffix(AttributeText(false, false, false)), QString());
    EXPECT_EQ(AttributeText(false, true, true), QStringLiteral("Read-only  Hidden"));
    EXPECT_EQ(AttributeText(false, false, true), QStringLiteral("Hidden"));
    EXPECT_EQ(AttributeText(true, false, false), QStringLiteral("Systemfile"));
    const QLocale italian(QLocale::Italian, QLocale::Italy);
    EXPECT_EQ(SizeCaption(1024, italian) + AttributeSuffix(AttributeText(false, true, true)),
              QStringLiteral("1.024 Bytes  (Read-only  Hidden)"));
    EXPECT_EQ(AttributeSuffix(AttributeText(true, true, true)),
              QStringLiteral("  (Systemfile  Read-only  Hidden)"));
}

TEST(IsPanelPicture, LooksAtTheLastFourCharactersOnly) {
    for (const char* path :
         {"/a/photo.jpeg", "/a/PHOTO.JPG", "/a/x.bmp", "/a/y.Wmf", "/a/z.gif", "/a/notajpeg"}) {
        EXPECT_TRUE(IsPanelPicture(QString::fromLatin1(path))) << path;
    }
    for (const char* path : {"/a/app.ico", "/a/notes.txt", "/a/data.bin", "/a/picture.png", ""}) {
        EXPECT_FALSE(IsPanelPicture(QString::fromLatin1(path))) << path;
    }
}

// The engine judges the entries (its own tests hold the rules); here, the typed text reaches
// it whole, characters made of two UTF-16 units and lone surrogates included.
TEST(PasswordRefusal, JudgesTheTypedTextByTheEngineRules) {
    const QString outside = QStringLiteral("La password contiene caratteri non ammessi: ");
    const std::pair<QString, QString> cases[] = {
        {u"\u0100\u0112\u012a\u014c\u016a"_s,
         outside + u"\u0100, \u0112, \u012a, \u014c, \u016a"_s},
        {u"\U0001F511\u0100\U0001F511"_s, outside + u"\U0001F511, \u0100"_s},
        {QChar(0xD800) + u"abcde"_s, outside + QChar(0xFFFD)},
        {u"Perch\u00e9 \u20ac"_s, QString()},
    };
    for (const auto& [code, refusal] : cases)
        EXPECT_EQ(PasswordRefusal(code, code), refusal) << code.toStdString();
}

} // namespace
} // namespace vw::ui
