#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/Cipher.h"
#include "engine/JobState.h"
#include "engine/PrivateCode.h"
#include "tests/support/TestHost.h"

namespace vw {
namespace {

using test::ScopedTestHost;

// The stored form of a code: encrypted under the key text, two hex digits a byte.
std::string StoredForm(const std::string& code, const std::string& key, bool upper = true) {
    InitCipher(key, "");
    std::string hex;
    for (const char c : code) {
        char pair[3];
        std::snprintf(pair, sizeof pair, upper ? "%02X" : "%02x",
                      EncryptByte(static_cast<std::uint8_t>(c)));
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
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"41", "A"},
        {"4a4A", "JJ"},
        {"ff00Fe", std::string("\xFF\x00\xFE", 3)},
        // An odd length ends with a one-digit number.
        {"414", std::string("A\x04", 2)},
        {"F", "\x0F"},
        {"41g", std::string("A\0", 2)},
        // A non-hex pair takes its leading digit, or zero.
        {"4G", "\x04"},
        {"c ", "\x0C"},
        {"G4", std::string(1, '\0')},
        {"zz41", std::string("\0A", 2)},
    };
    for (const auto& [hex, code] : cases)
        EXPECT_EQ(DecodeHexPairs(hex), code) << hex;
}

TEST(DecodeHexPairs, LongValuesAreDecodedWhole) {
    // Beyond the 16-bit position counter of older readers: every pair still counts.
    std::string hex;
    for (int i = 0; i < 40000; ++i)
        hex += i % 2 ? "7f" : "A0";
    const std::string code = DecodeHexPairs(hex);
    ASSERT_EQ(code.size(), 40000u);
    EXPECT_EQ(static_cast<unsigned char>(code.front()), 0xA0);
    EXPECT_EQ(static_cast<unsigned char>(code[32766]), 0xA0);
    EXPECT_EQ(static_cast<unsigned char>(code.back()), 0x7F);
}

TEST(ReadPrivateCode, NothingStoredGivesEmptyCodeTwoDigitsOneCharacter) {
    ScopedTestHost scope;
    scope.host.computerName = "DESK";
    EXPECT_EQ(ReadPrivateCode(), "");
    scope.host.settings = {{"OFB", ""}};
    EXPECT_EQ(ReadPrivateCode(), "");
    scope.host.settings = {{"OFB", "5a"}};
    EXPECT_EQ(ReadPrivateCode().size(), 1u);
}

TEST(ReadPrivateCode, DecryptsWithTheComputerName) {
    ScopedTestHost scope;
    scope.host.computerName = "WORKSTATION-7";
    const std::string code = "Codice privato \xE8 qui";
    scope.host.settings = {{"OFB", StoredForm(code, "WORKSTATION-7")}};
    EXPECT_EQ(ReadPrivateCode(), code);
    scope.host.settings = {{"OFB", StoredForm(code, "WORKSTATION-7", false)}};
    EXPECT_EQ(ReadPrivateCode(), code);
    // Copied to another computer, the same value decrypts silently to something else.
    scope.host.computerName = "OTHER";
    const std::string elsewhere = ReadPrivateCode();
    EXPECT_EQ(elsewhere.size(), code.size());
    EXPECT_NE(elsewhere, code);
}

TEST(ReadPrivateCode, FallsBackToTheFixedKeyWithoutAComputerName) {
    ScopedTestHost scope;
    scope.host.computerName = "";
    const std::string code = "abc\x01\xFF";
    scope.host.settings = {{"OFB", StoredForm(code, kPrivateCodeFallbackKey)}};
    EXPECT_EQ(ReadPrivateCode(), code);
    EXPECT_EQ(ComputerName(), "");
}

TEST(ReadPrivateCode, LongCodeDecryptsWholeWithTheBufferProgress) {
    ScopedTestHost scope;
    scope.host.computerName = "PC";
    const std::string code = PatternCode(40000);
    scope.host.settings = {{"OFB", StoredForm(code, "PC")}};
    EXPECT_EQ(ReadPrivateCode(), code);
    // Yields at indices 0, 5000, ..., 35000; i / 39999 * 50, the 0 at the start not sent.
    EXPECT_EQ(scope.host.eventCalls, 8);
    EXPECT_EQ(scope.host.progress, (std::vector<int>{6, 13, 19, 25, 31, 38, 44}));
}

TEST(ReadPrivateCode, ACancelNeverCutsTheDecryptionShortAndIsKept) {
    const std::string code = PatternCode(12000);
    // Pending from before, or arriving at the second yield point, mid-buffer.
    for (int cancelAt : {0, 2}) {
        ScopedTestHost scope(cancelAt);
        scope.host.computerName = "PC";
        scope.host.settings = {{"OFB", StoredForm(code, "PC")}};
        CancelRequested = cancelAt == 0;
        EXPECT_EQ(ReadPrivateCode(), code);
        EXPECT_TRUE(CancelRequested.load());
    }
}

} // namespace
} // namespace vw
