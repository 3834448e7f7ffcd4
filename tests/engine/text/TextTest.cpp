// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The password rules, the key quality score and the code page they use.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "engine/text/Cp1252.h"
#include "engine/text/PasswordRules.h"
#include "tests/support/SecretWatch.h"

namespace vw {
namespace {

using test::ReleasesSecret;

TEST(PasswordRules, MismatchThenCharactersOutsideTheCodePageThenTheRule) {
    using V = PasswordVerdict;
    for (const auto& [code, confirm] : std::initializer_list<std::pair<std::string, std::string>>{
             {"", ""}, {"abcde", "abcdE"}, {"abc", "abcd"}, {"\u0100abcde", "\u0101abcde"}})
        EXPECT_EQ(JudgePassword(code, confirm), V::Mismatch) << code;
    // Both entries alike, as typed (UTF-8). The rule counts code-page characters: under five,
    // or one piece repeated (of one, two or three characters, found at the third length), but
    // not a last piece shorter than the pattern; letter case counts.
    for (const char* code : {"abcd", "\u00e9\u00e9\u00e9\u00e9", "aaaaa", "ababab", "xyzxyz",
                             "\u00e9\u20ac\u00e9\u20ac\u00e9\u20ac"})
        EXPECT_EQ(JudgePassword(code, code), V::TooShort) << code;
    for (const char* code : {"abcde", "abababa", "aaaaB", "abcABC", "Perch\u00e9 \u20ac"})
        EXPECT_EQ(JudgePassword(code, code), V::Accepted) << code;
    // Each character the code page cannot carry, once, in order, by its code point (none is
    // shown: typing is masked, and some are invisible); broken UTF-8 as U+FFFD.
    const std::pair<std::string, std::string> outsiders[] = {
        {"\u043f\u0430\u0440\u043e\u043b\u044c1", "U+043F, U+0430, U+0440, U+043E, U+043B, U+044C"},
        {"\U0001F511\u0100\U0001F511x\u0080\uFEFF", "U+1F511, U+0100, U+0080, U+FEFF"},
        {"\xFF!abcd", "U+FFFD"}};
    for (const auto& [code, listed] : outsiders) {
        EXPECT_EQ(JudgePassword(code, code), V::OutsideCodePage) << code;
        EXPECT_EQ(CodePointList(CharactersOutsideCp1252(code)), listed) << code;
    }
    const std::string password = "a password too long for a short string"; // judged, no copy left
    EXPECT_FALSE(ReleasesSecret(
        password, [&] { EXPECT_EQ(JudgePassword(password, password), V::Accepted); }));
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
    for (const auto& [size, rating] : {std::pair{33, 99}, {34, 100}, {20000, 100}})
        EXPECT_EQ(RateKeyQuality(std::string(size, 'a')), rating) << size;
}

TEST(Cp1252, EveryByteRoundTripsAndUnrepresentableCharactersBecomeQuestionMarksListedOnce) {
    // UTF-8, its code-page bytes, the characters the code page cannot carry. Each broken UTF-8
    // sequence is one U+FFFD; undefined bytes become the control characters of the same number.
    const std::string r = "\uFFFD";
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {Cp1252ToUtf8(all), all, ""},
        {"\u0081\u009D", "\x81\x9D", ""},
        {"perch\u00E9 \u20AC \u201Cok\u201D\u0178", "perch\xE9 \x80 \x93ok\x94\x9F", ""},
        {std::string("a\0z/.~", 6), std::string("a\0z/.~", 6), ""},
        {"\u0100a\u4E2D\u0100", "?a??", "\u0100\u4E2D"},
        {"\U0001F600!", "?!", "\U0001F600"},
        {"\u0080\u0082", "??", "\u0080\u0082"}, // C1 controls the code page redefines
        {"a\xFFz\x80", "a?z?", r},              // bytes that start no character
        {"\xC3", "?", r},                       // cut short
        {"\xE2\x82z", "?z", r},
        {"\xC0\xAF", "??", r},            // overlong "/"
        {"\xE0\x80\xAF", "???", r},       // overlong, three bytes
        {"\xED\xA0\x80", "???", r},       // surrogate
        {"\xF4\x90\x80\x80", "????", r}}; // above U+10FFFF
    for (const auto& [utf8, bytes, outside] : cases) {
        EXPECT_EQ(Utf8ToCp1252(utf8), bytes) << utf8;
        EXPECT_EQ(CharactersOutsideCp1252(utf8), outside) << utf8;
        EXPECT_TRUE(!outside.empty() || Cp1252ToUtf8(bytes) == utf8) << utf8;
    }
}

} // namespace
} // namespace vw
