// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "engine/cipher/Cipher.h"
#include "tests/support/TempDir.h"

namespace vw {
namespace {

// The key stream written out literally from the format page (docs/format.md, "The cipher"), one
// modulo per step, as the slow yardstick for the table-copying implementation. Default-
// constructed, it is a wiped state.
struct ReferenceCipher {
    ReferenceCipher() = default;
    ReferenceCipher(const std::string& password, const std::string& privateCode) {
        std::int32_t t = 0;
        std::uint8_t mixA[17] = {}, mixB[23] = {};
        auto keyA = [&](int i) { return password[i % password.size()]; };
        auto keyB = [&](int i) { return mixA[i % 17]; };
        auto keyC = [&](int i) { return mixB[i % 23]; };
        Schedule(permA, 463, t, keyA, mixA, 17);
        Schedule(permB, 251, t, keyB, mixB, 23);
        for (std::size_t i = 0; !privateCode.empty() && i < 23; ++i)
            mixB[i] ^= static_cast<std::uint8_t>(privateCode[i % privateCode.size()]);
        Schedule(permC, 181, t, keyC, mixB, 0);
    }
    std::uint8_t Next(std::uint8_t f) {
        const int a = Stage(permA, 463, iA, jA, f) & 255;
        const int b = Stage(permB, 251, iB, jB, a);
        const int c = Stage(permC, 181, iC, jC, b);
        return static_cast<std::uint8_t>((a + b + c) % 256);
    }
    std::uint8_t Encrypt(std::uint8_t p) { return feedback = p ^ Next(feedback); }

    // Shuffles 0..n-1 into p by the key bytes, carrying t; folds the low bytes into mix[0..m).
    template <class Key>
    static void Schedule(std::int16_t* p, int n, std::int32_t& t, Key key, std::uint8_t* mix,
                         int m) {
        for (int i = 0; i < n; ++i)
            p[i] = static_cast<std::int16_t>(i);
        for (int i = 0; i < n; ++i) {
            t = (t + p[i] + static_cast<std::uint8_t>(key(i))) % n;
            std::swap(p[i], p[t]);
        }
        for (int i = 0; m > 0 && i < n; ++i)
            mix[i % m] ^= static_cast<std::uint8_t>(p[i] & 255);
    }
    static int Stage(std::int16_t* p, int n, int& i, int& j, int in) {
        i = (i + 1) % n;
        j = (p[i] + j + in) % n;
        std::swap(p[i], p[j]);
        return p[(p[j] + p[i]) % n];
    }

    std::int16_t permA[463] = {}, permB[251] = {}, permC[181] = {};
    int iA = 0, jA = 0, iB = 0, jB = 0, iC = 0, jC = 0;
    std::uint8_t feedback = 0;
};

void ExpectSameState(const Cipher& cipher, const ReferenceCipher& ref) {
    EXPECT_TRUE(std::equal(ref.permA, ref.permA + 463, cipher.PermA()));
    EXPECT_TRUE(std::equal(ref.permB, ref.permB + 251, cipher.PermB()));
    EXPECT_TRUE(std::equal(ref.permC, ref.permC + 181, cipher.PermC()));
    EXPECT_EQ(cipher.IndexSum(), ref.iA + ref.jA + ref.iB + ref.jB + ref.iC + ref.jC);
    EXPECT_EQ(cipher.Feedback(), ref.feedback);
}

TEST(CipherKeyStream, BlocksBytesAndKeyBytesMatchTheLiteralScheduleBothWays) {
    // Keys of one byte, of 463 and more (only the first 463 count), and private codes of 23
    // and more (only the first 23 count).
    std::mt19937 rng(20261206);
    std::vector<std::pair<std::string, std::string>> keys = {
        {"a", ""}, {"\xff", ""}, {std::string(1, '\0'), "x"}, {"Segreto99", std::string(23, 'Z')}};
    for (unsigned n = 0; n < 20; ++n) {
        const Bytes key = test::RandomData(1 + rng() % 1000, n),
                    code = test::RandomData(rng() % 45, n);
        keys.emplace_back(std::string(key.begin(), key.end()),
                          std::string(code.begin(), code.end()));
    }
    for (const auto& [password, privateCode] : keys) {
        const Bytes plain = test::RandomData(7000, static_cast<unsigned>(rng()));
        ReferenceCipher ref(password, privateCode);
        Bytes expected = plain;
        for (auto& v : expected)
            v = ref.Encrypt(v);
        // Uneven block sizes, with single bytes between them, each way, after an earlier use.
        for (const bool encrypt : {true, false}) {
            Cipher cipher;
            cipher.EncryptBlock(Bytes(10).data(), 10);
            cipher.Init(password, privateCode);
            ExpectSameState(cipher, ReferenceCipher(password, privateCode));
            Bytes data = encrypt ? plain : expected;
            std::size_t at = 0;
            for (const std::size_t size : {1u, 0u, 2u, 1023u, 1024u, 1025u, 3u}) {
                encrypt ? cipher.EncryptBlock(data.data() + at, size)
                        : cipher.DecryptBlock(data.data() + at, size);
                at += size;
                data[at] = encrypt ? cipher.EncryptByte(data[at]) : cipher.DecryptByte(data[at]);
                ++at;
            }
            encrypt ? cipher.EncryptBlock(data.data() + at, data.size() - at)
                    : cipher.DecryptBlock(data.data() + at, data.size() - at);
            ASSERT_EQ(data, encrypt ? expected : plain);
            ExpectSameState(cipher, ref);
            cipher.Wipe(); // every table, index and the feedback zeroed
            ExpectSameState(cipher, ReferenceCipher());
        }
        // A key byte for a feedback given leaves the feedback as it was.
        Cipher cipher;
        cipher.Init(password, privateCode);
        ReferenceCipher next(password, privateCode);
        EXPECT_EQ(cipher.NextKeyByte(255), next.Next(255));
        EXPECT_EQ(cipher.EncryptByte(7), next.Encrypt(7));
        ExpectSameState(cipher, next);
    }
}

// The two halves of a decryption, as a restore runs them on two threads over pieces of any size
// (the second half a piece behind), give what one decrypting pass gives.
TEST(CipherKeyStream, TheSplitDecryptionGivesTheBytesAndStateOfOnePass) {
    const Bytes plain = test::RandomData(40000, 9);
    ReferenceCipher ref("Segreto99", "code");
    Bytes sealed = plain;
    for (auto& v : sealed)
        v = ref.Encrypt(v);
    for (const std::size_t piece : {1u, 1000u, 1024u, 4097u, 40000u}) {
        Cipher cipher;
        cipher.Init("Segreto99", "code");
        Bytes data = sealed, partB(piece), partSum(piece);
        for (std::size_t at = 0; at < data.size(); at += piece) {
            const std::size_t count = std::min(piece, data.size() - at);
            cipher.DecryptFirstHalf(data.data() + at, count, partB.data(), partSum.data());
            cipher.DecryptSecondHalf(data.data() + at, count, partB.data(), partSum.data());
        }
        EXPECT_TRUE(data == plain) << piece;
        ExpectSameState(cipher, ref);
    }
}

} // namespace
} // namespace vw
