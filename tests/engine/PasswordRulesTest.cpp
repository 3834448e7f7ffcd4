#include "engine/PasswordRules.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>

namespace vw {
namespace test {
// With the program's allocation in PrivateCodeTest.cpp: true when job released a heap block
// holding secret.
bool ReleasesSecret(const std::string& secret, const std::function<void()>& job);
} // namespace test
namespace {

std::string Refusal(const std::string& code, const std::string& confirm) {
    return PasswordRefusalText(JudgePassword(code, confirm), code);
}

TEST(PasswordRules, MismatchThenCharactersOutsideTheCodePageThenTheRule) {
    const std::string outside = "La password contiene caratteri non ammessi: ";
    for (const auto& [code, confirm] : std::initializer_list<std::pair<std::string, std::string>>{
             {"", ""}, {"abcde", "abcdE"}, {"abc", "abcd"}, {"\u0100abcde", "\u0101abcde"}})
        EXPECT_EQ(Refusal(code, confirm), "Le password non conincidono") << code;
    // Both entries alike, as typed (UTF-8). The rule counts code-page characters: under five,
    // or one piece repeated (of one, two or three characters, found at the third length), but
    // not a last piece shorter than the pattern; letter case counts.
    for (const char* code : {"abcd", "\u00e9\u00e9\u00e9\u00e9", "aaaaa", "ababab", "xyzxyzxyz",
                             "\u00e9\u20ac\u00e9\u20ac\u00e9\u20ac"})
        EXPECT_EQ(Refusal(code, code), "Password troppo corta") << code;
    for (const char* code : {"abcde", "abababa", "aaaaB", "abcABC", "Perch\u00e9 \u20ac"})
        EXPECT_EQ(Refusal(code, code), "") << code;
    // Each character the code page cannot carry, once, in order; broken UTF-8 as U+FFFD.
    const std::pair<std::string, std::string> outsiders[] = {
        {"\u043f\u0430\u0440\u043e\u043b\u044c1", "\u043f, \u0430, \u0440, \u043e, \u043b, \u044c"},
        {"\u0100", "\u0100"},
        {"\U0001F511\u0100\U0001F511x\u0080", "\U0001F511, \u0100, \u0080"},
        {"\xFF!abcd", "\uFFFD"}};
    for (const auto& [code, listed] : outsiders)
        EXPECT_EQ(Refusal(code, code), outside + listed) << code;
}

TEST(PasswordRules, JudgingLeavesNoCopyOfThePassword) {
    const std::string password = "a password too long for a short string";
    PasswordVerdict verdict{};
    EXPECT_FALSE(
        test::ReleasesSecret(password, [&] { verdict = JudgePassword(password, password); }));
    EXPECT_EQ(verdict, PasswordVerdict::Accepted);
}

TEST(RateKeyQuality, FollowsTheQualityTable) {
    // Code-page bytes; "\xE9" is 233, above 122: a symbol (13.5 -> 14); 91 to 96 in no class.
    const std::pair<const char*, int> cases[] = {
        {"", 0},          {"a", 3},       {"abcde", 15},    {"Abcde", 18},   {"abcd1", 21},
        {"Abcd1", 25},    {"12345", 15},  {"a?", 9},        {"abc_def", 21}, {"Abcdefgh", 29},
        {"Abcdefg1", 41}, {"Abcd1!", 46}, {"Abcdef1!", 62}, {"ab\xE9", 14},  {"[]^`\\", 15},
        {"Zz0", 15},      {"a9", 8},      {"a/", 9},        {"a:", 9},       {"a@", 9}};
    for (const auto& [text, rating] : cases)
        EXPECT_EQ(RateKeyQuality(text), rating) << text;
    EXPECT_EQ(RateKeyQuality(std::string(33, 'a')), 99);
    EXPECT_EQ(RateKeyQuality(std::string(34, 'a')), 100);
    EXPECT_EQ(RateKeyQuality(std::string(20000, 'x')), 100);
}

} // namespace
} // namespace vw
