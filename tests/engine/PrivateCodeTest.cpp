#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "engine/Cipher.h"
#include "engine/JobState.h"
#include "engine/PrivateCode.h"
#include "tests/support/TestHost.h"

namespace {
// While set, every heap block is searched for it before it is released.
std::atomic<const std::string*> watched{nullptr};
std::atomic<bool> watchedReleased{false};

void Release(void* block) noexcept {
    const std::string* secret = watched.load();
    if (block && secret &&
        std::string_view(static_cast<const char*>(block), malloc_usable_size(block))
                .find(*secret) != std::string_view::npos)
        watchedReleased = true;
    std::free(block);
}
} // namespace

// The test program's own allocation, on malloc, so that released blocks can be searched.
void* operator new(std::size_t size) {
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    Release(block);
}

namespace vw {
namespace test {

// True when job released a heap block holding secret: a copy it did not wipe.
bool ReleasesSecret(const std::string& secret, const std::function<void()>& job) {
    watchedReleased = false;
    watched = &secret;
    job();
    watched = nullptr;
    return watchedReleased;
}

} // namespace test
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
    // An odd length ends with a one-digit number; a non-hex pair takes its leading digit, or 0.
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},         {"41", "A"},   {"4a4A", "JJ"},  {"ff00Fe", "\xFF\x00\xFE"s},
        {"414", "A\x04"}, {"F", "\x0F"}, {"4G", "\x04"},  {"41g", "A\0"s},
        {"c ", "\x0C"},   {"G4", "\0"s}, {"zz41", "\0A"s}};
    for (const auto& [hex, code] : cases)
        EXPECT_EQ(DecodeHexPairs(hex), code) << hex;
}

TEST(ReadPrivateCode, DecryptsWithTheComputerNameOrTheFallbackKey) {
    const std::string code = "Codice privato \xE8 qui", name = "WORKSTATION-7";
    // Computer name, stored value, code read.
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {name, "", ""}, // nothing stored
        {name, StoredForm("Q", name), "Q"},
        {name, StoredForm(code, name), code},
        {name, StoredForm(code, name, false), code},
        {"", StoredForm(code, kPrivateCodeFallbackKey), code},
    };
    for (const auto& [computer, stored, expected] : cases) {
        ScopedTestHost scope;
        scope.host.computerName = computer;
        if (!stored.empty()) scope.host.settings = {{"OFB", stored}};
        EXPECT_EQ(ReadPrivateCode(), expected) << stored;
    }
}

TEST(ReadPrivateCode, LeavesNoCopyOfTheCodeOrItsKeyInTheCipherOrInReleasedMemory) {
    ScopedTestHost scope;
    scope.host.computerName = "A COMPUTER NAME TOO LONG FOR A SHORT STRING";
    const std::string code = PatternCode(300);
    scope.host.settings = {{"OFB", StoredForm(code, scope.host.computerName)}};
    const std::string encrypted = DecodeHexPairs(scope.host.settings[0].second);
    for (const std::string& secret : {code, encrypted, scope.host.computerName}) {
        std::string read;
        EXPECT_FALSE(test::ReleasesSecret(secret, [&] { read = ReadPrivateCode(); }));
        EXPECT_EQ(read, code);
    }
    const Cipher& cipher = TheCipher();
    EXPECT_TRUE(std::all_of(cipher.PermA(), cipher.PermA() + 463, [](auto v) { return v == 0; }));
    EXPECT_EQ(cipher.IndexSum(), 0);
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

} // namespace
} // namespace vw
