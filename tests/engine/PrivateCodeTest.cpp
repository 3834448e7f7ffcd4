// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The private code, the password rules, the key quality score and the code page they use.
#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string_view>

#include "engine/Cipher.h"
#include "engine/Cp1252.h"
#include "engine/JobState.h"
#include "engine/PasswordRules.h"
#include "engine/PrivateCode.h"
#include "tests/support/TestHost.h"

// While a secret is watched, every heap block is searched for it before it is released.
static std::atomic<const std::string*> watched{nullptr};
static std::atomic<bool> watchedReleased{false};

void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
static void Release(void* block) noexcept {
    const std::string* secret = watched.load();
    if (block && secret &&
        std::string_view(static_cast<const char*>(block), malloc_usable_size(block))
                .find(*secret) != std::string_view::npos)
        watchedReleased = true;
    std::free(block);
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}

namespace vw {
namespace {

// True when job released a heap block holding secret: a copy it did not wipe.
bool ReleasesSecret(const std::string& secret, const std::function<void()>& job) {
    watchedReleased = false;
    watched = &secret;
    job();
    watched = nullptr;
    return watchedReleased;
}

using test::ScopedTestHost;

// The stored form of a code: encrypted under the key text, two hex digits a byte.
std::string StoredForm(const std::string& code, const std::string& key) {
    InitCipher(key, "");
    std::string hex;
    for (const char c : code) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", EncryptByte(static_cast<std::uint8_t>(c)));
        hex += pair;
    }
    return hex;
}

std::string PatternCode(std::size_t size) {
    std::string code;
    for (std::size_t i = 0; i < size; ++i)
        code += static_cast<char>((i * 37 + 11) & 0xFF);
    return code;
}

TEST(DecodeHexPairs, PairsInEitherCaseOddLengthAndNonHexPairs) {
    // An odd length ends with a one-digit number; a non-hex pair takes its leading digit, or 0.
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},         {"41", "A"},   {"4a4A", "JJ"},  {"ff00Fe", "\xFF\x00\xFE"s},
        {"414", "A\x04"}, {"F", "\x0F"}, {"4G", "\x04"},  {"41g", "A\0"s},
        {"c ", "\x0C"},   {"G4", "\0"s}, {"zz41", "\0A"s}};
    for (const auto& [hex, code] : cases)
        EXPECT_EQ(DecodeHexPairs(hex), code) << hex;
}

// Decrypted with the computer's name, or the fallback key without one, leaving no copy of the
// code or its key, not even a piece (a string grown byte by byte releases ever longer prefixes).
TEST(ReadPrivateCode, DecryptsLeavingNoCopyOfTheCodeOrItsKeyInTheCipherOrInReleasedMemory) {
    ScopedTestHost scope;
    scope.host.computerName = "A COMPUTER NAME TOO LONG FOR A SHORT STRING";
    const std::string code = PatternCode(300);
    scope.host.settings = {{"OFB", StoredForm(code, scope.host.computerName)}};
    const std::string encrypted = DecodeHexPairs(scope.host.settings[0].second);
    for (const std::string& secret : {code, encrypted, scope.host.computerName}) {
        std::string read;
        EXPECT_FALSE(ReleasesSecret(secret.substr(0, 16), [&] { read = ReadPrivateCode(); }));
        EXPECT_EQ(read, code);
    }
    const Cipher& cipher = TheCipher();
    EXPECT_TRUE(std::all_of(cipher.PermA(), cipher.PermA() + 463, [](auto v) { return v == 0; }));
    EXPECT_EQ(cipher.IndexSum(), 0);
    scope.host.computerName = ""; // no computer name: the fallback key
    scope.host.settings = {{"OFB", StoredForm(code, kPrivateCodeFallbackKey)}};
    EXPECT_EQ(ReadPrivateCode(), code);
    scope.host.settings.clear(); // nothing stored
    EXPECT_EQ(ReadPrivateCode(), "");
}

TEST(ReadPrivateCode, DecryptsALongCodeWholeWithTheBufferProgressWhateverCancelArrives) {
    // 20000 bytes, 40000 digits: beyond a 16-bit position. Yields after indices 0, 5000, 10000
    // and 15000 (i / 19999 * 50, the 0 not sent). A cancel pending from before, or arriving at
    // the second yield point, is kept for the job it was meant for.
    const std::string code = PatternCode(20000);
    for (const int cancelAt : {-1, 0, 2}) {
        ScopedTestHost scope(std::max(cancelAt, 0));
        scope.host.computerName = "PC";
        scope.host.settings = {{"OFB", StoredForm(code, "PC")}};
        CancelRequested = cancelAt == 0;
        EXPECT_EQ(ReadPrivateCode(), code);
        EXPECT_EQ(CancelRequested.load(), cancelAt >= 0);
        EXPECT_TRUE(cancelAt >= 0 || scope.host.progress == (std::vector<int>{13, 25, 38}));
    }
}

// The stored form ReadPrivateCode reads back, every byte value in it, made with a cipher of its
// own (a job's stays as it was) and leaving no copy of the code behind.
TEST(EncryptPrivateCode, WhatReadPrivateCodeReadsBackWithoutTouchingTheJobsCipher) {
    const std::string code = PatternCode(300);
    for (const std::string computer : {"A COMPUTER NAME TOO LONG FOR A SHORT STRING", ""}) {
        ScopedTestHost scope;
        scope.host.computerName = computer;
        const std::string expected = StoredForm(code, computer.empty() ? "q7#Tz9" : computer);
        InitCipher("a job's password", "a job's code");
        const Cipher job = TheCipher();
        std::string stored;
        EXPECT_FALSE(
            ReleasesSecret(code.substr(0, 16), [&] { stored = EncryptPrivateCode(code); }));
        EXPECT_TRUE(std::equal(job.PermA(), job.PermA() + Cipher::kSizeA, TheCipher().PermA()));
        EXPECT_EQ(stored, expected);
        scope.host.settings = {{"OFB", stored}};
        EXPECT_EQ(ReadPrivateCode(), code);
    }
}

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
    for (const char* code : {"abcd", "\u00e9\u00e9\u00e9\u00e9", "aaaaa", "ababab", "xyzxyz",
                             "\u00e9\u20ac\u00e9\u20ac\u00e9\u20ac"})
        EXPECT_EQ(Refusal(code, code), "Password troppo corta") << code;
    for (const char* code : {"abcde", "abababa", "aaaaB", "abcABC", "Perch\u00e9 \u20ac"})
        EXPECT_EQ(Refusal(code, code), "") << code;
    // Each character the code page cannot carry, once, in order; broken UTF-8 as U+FFFD.
    const std::pair<std::string, std::string> outsiders[] = {
        {"\u043f\u0430\u0440\u043e\u043b\u044c1", "\u043f, \u0430, \u0440, \u043e, \u043b, \u044c"},
        {"\U0001F511\u0100\U0001F511x\u0080", "\U0001F511, \u0100, \u0080"},
        {"\xFF!abcd", "\uFFFD"}};
    for (const auto& [code, listed] : outsiders)
        EXPECT_EQ(Refusal(code, code), outside + listed) << code;
    const std::string password = "a password too long for a short string"; // judged, no copy left
    EXPECT_FALSE(ReleasesSecret(password, [&] { EXPECT_EQ(Refusal(password, password), ""); }));
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
