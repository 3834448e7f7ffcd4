#include "engine/PasswordRules.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace vw {
namespace {

TEST(PasswordRules, MismatchThenCharactersOutsideTheCodePageThenTheRule) {
    const std::string mismatch = kPasswordMismatchText, tooShort = kPasswordTooShortText;
    const std::string outside = "La password contiene caratteri non ammessi: ";
    ASSERT_EQ(mismatch, "Le password non conincidono");
    ASSERT_EQ(tooShort, "Password troppo corta");
    // Entries as typed (UTF-8): the rule counts code-page characters, not UTF-8 bytes.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"", "", mismatch},
        {"abcde", "abcdE", mismatch},
        {"abc", "abcd", mismatch},
        {"\u0100abcde", "\u0101abcde", mismatch},
        {"abcd", "abcd", tooShort},
        {"\u00e9\u00e9\u00e9", "\u00e9\u00e9\u00e9", tooShort},
        // One piece repeated: of one, two and three characters, found at the third length.
        {"aaaaa", "aaaaa", tooShort},
        {"ababab", "ababab", tooShort},
        {"xyzxyzxyz", "xyzxyzxyz", tooShort},
        {"\u00e9\u20ac\u00e9\u20ac\u00e9\u20ac", "\u00e9\u20ac\u00e9\u20ac\u00e9\u20ac", tooShort},
        // The last piece shorter than the pattern; letter case counts.
        {"abcde", "abcde", ""},
        {"abababa", "abababa", ""},
        {"aaaaB", "aaaaB", ""},
        {"abcABC", "abcABC", ""},
        {"Perch\u00e9 \u20ac", "Perch\u00e9 \u20ac", ""},
        {"\u043f\u0430\u0440\u043e\u043b\u044c1", "\u043f\u0430\u0440\u043e\u043b\u044c1",
         outside + "\u043f, \u0430, \u0440, \u043e, \u043b, \u044c"},
        {"\u0100", "\u0100", outside + "\u0100"},
        {"\U0001F511\u0100\U0001F511x\u0080", "\U0001F511\u0100\U0001F511x\u0080",
         outside + "\U0001F511, \u0100, \u0080"},
        {"\xFF"
         "abcde",
         "\xFF"
         "abcde",
         outside + "\uFFFD"},
    };
    for (const auto& [code, confirm, refusal] : cases)
        EXPECT_EQ(PasswordRefusalText(JudgePassword(code, confirm), code), refusal) << code;
}

TEST(RateKeyQuality, FollowsTheQualityTable) {
    // Code-page bytes; "\xE9" is 233, above 122: a symbol (13.5 -> 14).
    const std::pair<std::string, int> cases[] = {
        {"", 0},
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
        {"Abcd1!", 46},
        {"Abcdef1!", 62},
        {"ab\xE9", 14},
        {"[]^`\\", 15},
        {"Zz0", 15},
        {"a9", 8},
        {"a/", 9},
        {"a:", 9},
        {"a@", 9},
        {std::string(33, 'a'), 99},
        {std::string(34, 'a'), 100},
        {std::string(20000, 'x'), 100},
    };
    for (const auto& [text, rating] : cases)
        EXPECT_EQ(RateKeyQuality(text), rating) << text.substr(0, 40);
}

} // namespace
} // namespace vw
