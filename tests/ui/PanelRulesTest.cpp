#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <tuple>

#include "platform/TextCodec.h"
#include "ui/PanelRules.h"

namespace vw::ui {
namespace {

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

int Rate(const QString& text) {
    return RateKeyQuality(ToCp1252(text));
}

TEST(RateKeyQuality, FollowsTheQualityTable) {
    const std::pair<QString, int> cases[] = {
        {QString(), 0},
        {"a", 3},
        {"abcde", 15},
        {"Abcde", 18},
        {"abcd1", 21},
        {"Abcd1", 25},
        {"12345", 15},
        {"a?", 9},
        {"abc_def", 21},
        {"Abcdefgh", 29},
        {"Abcdefg1", 41},
        {"Abcd1!", 46}, // 46.5 rounds to the even 46
        {"Abcdef1!", 62},
        {QString(34, QLatin1Char('a')), 100},
        {QString(33, QLatin1Char('a')), 99},
        {QString(20000, QLatin1Char('x')), 100},
        // "é" is 233 in the code page: above 122, so it counts as a symbol; 13.5 -> 14.
        {QStringLiteral("ab\u00e9"), 14},
    };
    for (const auto& [text, rating] : cases)
        EXPECT_EQ(Rate(text), rating) << text.left(40).toStdString();
}

TEST(PasswordRefusal, MismatchIsCheckedBeforeTheRule) {
    const QString mismatch = QStringLiteral("Le password non conincidono");
    const QString tooShort = QStringLiteral("Password troppo corta");
    const std::tuple<QString, QString, QString> cases[] = {
        {"", "", mismatch},
        {"abcde", "abcdE", mismatch},
        {"abc", "abcd", mismatch},
        {"abcd", "abcd", tooShort},
        {"ababab", "ababab", tooShort},
        {"aaaaaaa", "aaaaaaa", tooShort},
        {"abcde", "abcde", QString()},
        {"abababa", "abababa", QString()},
    };
    for (const auto& [code, confirm, refusal] : cases)
        EXPECT_EQ(PasswordRefusal(code, confirm), refusal) << code.toStdString();
}

} // namespace
} // namespace vw::ui
