// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The stored private code, and secrets wiped when they go.
#include <gtest/gtest.h>

#include <cstdio>
#include <new>
#include <string>

#include "engine/cipher/Cipher.h"
#include "engine/cipher/PrivateCode.h"
#include "tests/support/SecretWatch.h"
#include "tests/support/TestHost.h"

namespace vw {
namespace {

using test::ReleasesSecret;

// The stored form of a code: encrypted under the key text, two hex digits a byte.
std::string StoredForm(const std::string& code, const std::string& key) {
    Cipher cipher;
    cipher.Init(key, "");
    std::string hex;
    for (const char c : code) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02X", cipher.EncryptByte(static_cast<std::uint8_t>(c)));
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

// A key held in a SecretArray (the random header's mixing keys) is gone from its memory once
// the array's scope ends.
TEST(SecretArray, IsOverwrittenWhenItGoesOutOfScope) {
    alignas(SecretArray<16>) unsigned char memory[sizeof(SecretArray<16>)] = {};
    auto* key = new (memory) SecretArray<16>;
    key->bytes.fill(0xA5);
    key->~SecretArray();
    const volatile unsigned char* left = memory; // read as it is, after the array's end
    for (std::size_t i = 0; i < sizeof memory; ++i)
        EXPECT_EQ(left[i], 0) << i;
}

// Decrypted with the computer's name, or the fallback key without one, leaving no copy of the
// code or its key, not even a piece (a string grown byte by byte releases ever longer prefixes).
TEST(ReadPrivateCode, DecryptsLeavingNoCopyOfTheCodeOrItsKeyInReleasedMemory) {
    test::TestHost host;
    host.computerName = "A COMPUTER NAME TOO LONG FOR A SHORT STRING";
    const std::string code = PatternCode(300);
    host.settings = {{"OFB", StoredForm(code, host.computerName)}};
    const std::string encrypted = DecodeHexPairs(host.settings[0].second);
    for (const std::string& secret : {code, encrypted, host.computerName}) {
        std::string read;
        EXPECT_FALSE(ReleasesSecret(secret.substr(0, 16), [&] { read = ReadPrivateCode(host); }));
        EXPECT_EQ(read, code);
    }
    host.computerName = ""; // no computer name: the fallback key
    host.settings = {{"OFB", StoredForm(code, kPrivateCodeFallbackKey)}};
    EXPECT_EQ(ReadPrivateCode(host), code);
    host.settings = {{"OFB", StoredForm(PatternCode(20000), kPrivateCodeFallbackKey)}};
    EXPECT_EQ(ReadPrivateCode(host), PatternCode(20000)); // beyond a 16-bit position
    host.settings.clear();                                // nothing stored
    EXPECT_EQ(ReadPrivateCode(host), "");
}

// The stored form ReadPrivateCode reads back, every byte value in it, leaving no copy of the
// code behind.
TEST(EncryptPrivateCode, WhatReadPrivateCodeReadsBack) {
    const std::string code = PatternCode(300);
    for (const std::string computer : {"A COMPUTER NAME TOO LONG FOR A SHORT STRING", ""}) {
        test::TestHost host;
        host.computerName = computer;
        std::string stored;
        EXPECT_FALSE(
            ReleasesSecret(code.substr(0, 16), [&] { stored = EncryptPrivateCode(host, code); }));
        EXPECT_EQ(stored, StoredForm(code, computer.empty() ? kPrivateCodeFallbackKey : computer));
        host.settings = {{"OFB", stored}};
        EXPECT_EQ(ReadPrivateCode(host), code);
    }
}

} // namespace
} // namespace vw
