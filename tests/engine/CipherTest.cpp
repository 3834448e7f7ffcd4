#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/Cipher.h"
#include "engine/JobState.h"
#include "tests/engine/TestHost.h"

namespace vw {
namespace {

// The key stream written out literally, one modulo per step, as the slow yardstick for the
// table-copying implementation.
class ReferenceCipher {
  public:
    ReferenceCipher(const std::string& password, const std::string& privateCode) {
        const std::size_t k = password.size();
        const std::size_t q = privateCode.size();
        for (int i = 0; i < 463; ++i)
            permA[i] = static_cast<std::int16_t>(i);
        std::int32_t t = 0;
        for (int i = 0; i < 463; ++i) {
            t = (t + permA[i] + static_cast<std::uint8_t>(password[i % k])) % 463;
            std::swap(permA[i], permA[t]);
        }
        std::uint8_t mixA[17] = {};
        for (int i = 0; i < 463; ++i)
            mixA[i % 17] ^= static_cast<std::uint8_t>(permA[i] & 255);
        for (int i = 0; i < 251; ++i)
            permB[i] = static_cast<std::int16_t>(i);
        for (int i = 0; i < 251; ++i) {
            t = (t + permB[i] + mixA[i % 17]) % 251;
            std::swap(permB[i], permB[t]);
        }
        std::uint8_t mixB[23] = {};
        for (int i = 0; i < 251; ++i)
            mixB[i % 23] ^= static_cast<std::uint8_t>(permB[i] & 255);
        if (q > 0) {
            for (std::size_t i = 0; i < 23; ++i)
                mixB[i] ^= static_cast<std::uint8_t>(privateCode[i % q]);
        }
        for (int i = 0; i < 181; ++i)
            permC[i] = static_cast<std::int16_t>(i);
        for (int i = 0; i < 181; ++i) {
            t = (t + permC[i] + mixB[i % 23]) % 181;
            std::swap(permC[i], permC[t]);
        }
    }

    std::uint8_t Next(std::uint8_t f) {
        iA = (iA + 1) % 463;
        jA = (permA[iA] + jA + f) % 463;
        std::swap(permA[iA], permA[jA]);
        const int a = permA[(permA[jA] + permA[iA]) % 463] & 255;
        iB = (iB + 1) % 251;
        jB = (permB[iB] + jB + a) % 251;
        std::swap(permB[iB], permB[jB]);
        const int b = permB[(permB[jB] + permB[iB]) % 251];
        iC = (iC + 1) % 181;
        jC = (permC[iC] + jC + b) % 181;
        std::swap(permC[iC], permC[jC]);
        const int c = permC[(permC[jC] + permC[iC]) % 181];
        return static_cast<std::uint8_t>((a + b + c) % 256);
    }
    std::uint8_t Encrypt(std::uint8_t p) {
        const std::uint8_t c = p ^ Next(feedback);
        feedback = c;
        return c;
    }
    std::uint8_t Decrypt(std::uint8_t c) {
        const std::uint8_t k = Next(feedback);
        feedback = c;
        return c ^ k;
    }

    std::int16_t permA[463], permB[251], permC[181];
    int iA = 0, jA = 0, iB = 0, jB = 0, iC = 0, jC = 0;
    std::uint8_t feedback = 0;
};

std::string RandomText(std::mt19937& rng, std::size_t size) {
    std::string s(size, '\0');
    for (auto& ch : s)
        ch = static_cast<char>(rng() & 255);
    return s;
}

Bytes RandomBytes(std::mt19937& rng, std::size_t size) {
    Bytes b(size);
    for (auto& v : b)
        v = static_cast<std::uint8_t>(rng());
    return b;
}

struct KeyPair {
    std::string password;
    std::string privateCode;
};

std::vector<KeyPair> ManyKeys() {
    std::mt19937 rng(20261206);
    std::vector<KeyPair> keys = {
        {"a", ""},
        {"\xff", ""},
        {std::string(1, '\0'), "x"},
        {"password", ""},
        {"password", "p"},
        {"Segreto99", std::string(23, 'Z')},
        {"Segreto99", RandomText(rng, 40)},
        {std::string(463, 'q'), ""},
        {RandomText(rng, 464), RandomText(rng, 23)},
        {RandomText(rng, 1000), RandomText(rng, 1)},
    };
    for (int n = 0; n < 30; ++n) {
        const std::size_t plen = 1 + rng() % 600;
        const std::size_t qlen = rng() % 45;
        keys.push_back({RandomText(rng, plen), RandomText(rng, qlen)});
    }
    return keys;
}

void ExpectSameState(const Cipher& cipher, const ReferenceCipher& ref) {
    EXPECT_TRUE(std::equal(ref.permA, ref.permA + 463, cipher.PermA()));
    EXPECT_TRUE(std::equal(ref.permB, ref.permB + 251, cipher.PermB()));
    EXPECT_TRUE(std::equal(ref.permC, ref.permC + 181, cipher.PermC()));
    EXPECT_EQ(cipher.IndexSum(), ref.iA + ref.jA + ref.iB + ref.jB + ref.iC + ref.jC);
    EXPECT_EQ(cipher.Feedback(), ref.feedback);
}

TEST(CipherKeyStream, InitMatchesTheLiteralScheduleForManyKeys) {
    for (const auto& key : ManyKeys()) {
        Cipher cipher;
        cipher.Init(key.password, key.privateCode);
        ExpectSameState(cipher, ReferenceCipher(key.password, key.privateCode));
    }
}

TEST(CipherKeyStream, NextKeyByteMatchesWithArbitraryFeedback) {
    std::mt19937 rng(7);
    for (const auto& key : ManyKeys()) {
        Cipher cipher;
        cipher.Init(key.password, key.privateCode);
        ReferenceCipher ref(key.password, key.privateCode);
        for (int n = 0; n < 3000; ++n) {
            const auto f = static_cast<std::uint8_t>(n < 600 ? 255 : rng());
            ASSERT_EQ(cipher.NextKeyByte(f), ref.Next(f)) << "byte " << n;
        }
        ExpectSameState(cipher, ref);
    }
}

TEST(CipherKeyStream, EncryptBlockAndByteMatchReference) {
    std::mt19937 rng(11);
    for (const auto& key : ManyKeys()) {
        const Bytes plain = RandomBytes(rng, 7000);
        Bytes expected = plain;
        ReferenceCipher ref(key.password, key.privateCode);
        for (auto& v : expected)
            v = ref.Encrypt(v);

        Cipher cipher;
        cipher.Init(key.password, key.privateCode);
        Bytes blocks = plain;
        // Uneven block sizes, with single bytes between them.
        std::size_t at = 0;
        for (std::size_t size : {1u, 0u, 2u, 1023u, 1024u, 1025u, 3u}) {
            cipher.EncryptBlock(blocks.data() + at, size);
            at += size;
            blocks[at] = cipher.EncryptByte(blocks[at]);
            ++at;
        }
        cipher.EncryptBlock(blocks.data() + at, blocks.size() - at);
        ASSERT_EQ(blocks, expected);
        ExpectSameState(cipher, ref);
    }
}

TEST(CipherKeyStream, DecryptBlockAndByteMatchReferenceOnRealCiphertext) {
    std::mt19937 rng(13);
    for (const auto& key : ManyKeys()) {
        Bytes cipherText = RandomBytes(rng, 9000);
        ReferenceCipher enc(key.password, key.privateCode);
        for (auto& v : cipherText)
            v = enc.Encrypt(v);
        ReferenceCipher ref(key.password, key.privateCode);
        Bytes expected = cipherText;
        for (auto& v : expected)
            v = ref.Decrypt(v);

        Cipher cipher;
        cipher.Init(key.password, key.privateCode);
        Bytes blocks = cipherText;
        std::size_t at = 0;
        for (std::size_t size : {1u, 2u, 1024u, 1u, 2049u, 5000u}) {
            cipher.DecryptBlock(blocks.data() + at, size);
            at += size;
            blocks[at] = cipher.DecryptByte(blocks[at]);
            ++at;
        }
        cipher.DecryptBlock(blocks.data() + at, blocks.size() - at);
        ASSERT_EQ(blocks, expected);
        ExpectSameState(cipher, ref);
    }
}

TEST(CipherKeyStream, FreeFunctionsUseTheSingleState) {
    ReferenceCipher ref("global key", "pc");
    InitCipher("global key", "pc");
    EXPECT_EQ(&TheCipher(), &TheCipher());
    for (int n = 0; n < 100; ++n) {
        const auto p = static_cast<std::uint8_t>(n * 7);
        ASSERT_EQ(EncryptByte(p), ref.Encrypt(p));
    }
    EXPECT_EQ(NextKeyByte(3), ref.Next(3));
    EXPECT_EQ(DecryptByte(200), ref.Decrypt(200));
}

TEST(CipherState, InitGivesPermutationsAndZeroIndices) {
    Cipher cipher;
    cipher.EncryptBlock(Bytes(10).data(), 10); // some earlier use
    cipher.Init("hello world", "code");
    const auto isPermutation = [](const std::int16_t* p, int n) {
        std::vector<std::int16_t> v(p, p + n);
        std::sort(v.begin(), v.end());
        for (int i = 0; i < n; ++i) {
            if (v[i] != i) return false;
        }
        return true;
    };
    EXPECT_TRUE(isPermutation(cipher.PermA(), 463));
    EXPECT_TRUE(isPermutation(cipher.PermB(), 251));
    EXPECT_TRUE(isPermutation(cipher.PermC(), 181));
    EXPECT_EQ(cipher.IndexSum(), 0);
    EXPECT_EQ(cipher.Feedback(), 0);
}

TEST(CipherState, OnlyTheFirst463PasswordAnd23CodeBytesCount) {
    const std::string longA = std::string(463, 'k') + "tail one";
    const std::string longB = std::string(463, 'k') + "another tail";
    Cipher a, b;
    a.Init(longA, std::string(23, 'c') + "xyz");
    b.Init(longB, std::string(23, 'c') + "q");
    for (int n = 0; n < 1000; ++n)
        ASSERT_EQ(a.NextKeyByte(1), b.NextKeyByte(1));

    // A password one byte shorter than 463 wraps around instead and differs.
    Cipher c;
    c.Init(std::string(462, 'k') + "z", std::string(23, 'c'));
    a.Init(longA, std::string(23, 'c'));
    bool differs = false;
    for (int n = 0; n < 64; ++n)
        differs |= a.NextKeyByte(0) != c.NextKeyByte(0);
    EXPECT_TRUE(differs);
}

TEST(CipherState, PrivateCodeShapesOnlyTheThirdTable) {
    Cipher none, one, other;
    none.Init("same password", "");
    one.Init("same password", "A");
    other.Init("same password", "B");
    EXPECT_TRUE(std::equal(none.PermA(), none.PermA() + 463, one.PermA()));
    EXPECT_TRUE(std::equal(none.PermB(), none.PermB() + 251, one.PermB()));
    EXPECT_FALSE(std::equal(one.PermC(), one.PermC() + 181, other.PermC()));
    // A code of 23 zero bytes leaves MixB as it is, exactly like no code.
    Cipher zeros;
    zeros.Init("same password", std::string(23, '\0'));
    EXPECT_TRUE(std::equal(none.PermC(), none.PermC() + 181, zeros.PermC()));
    EXPECT_FALSE(std::equal(none.PermC(), none.PermC() + 181, one.PermC()));
}

TEST(CipherRoundTrip, SameKeysRestoreOtherKeysDoNot) {
    std::mt19937 rng(5);
    const Bytes plain = RandomBytes(rng, 20000);
    Cipher cipher;
    cipher.Init("password", "private");
    Bytes data = plain;
    cipher.EncryptBlock(data.data(), data.size());
    EXPECT_NE(data, plain);

    Bytes copy = data;
    cipher.Init("password", "private");
    cipher.DecryptBlock(copy.data(), copy.size());
    EXPECT_EQ(copy, plain);

    copy = data;
    cipher.Init("passwore", "private");
    cipher.DecryptBlock(copy.data(), copy.size());
    EXPECT_NE(copy, plain);

    copy = data;
    cipher.Init("password", "privatf");
    cipher.DecryptBlock(copy.data(), copy.size());
    EXPECT_NE(copy, plain);
}

TEST(CipherRoundTrip, ChangedCiphertextByteSpoilsTheRest) {
    const Bytes plain(4000, 0x41);
    Cipher cipher;
    cipher.Init("feedback", "");
    Bytes data = plain;
    cipher.EncryptBlock(data.data(), data.size());
    data[1000] ^= 1;
    cipher.Init("feedback", "");
    cipher.DecryptBlock(data.data(), data.size());
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 1000, data.begin()));
    EXPECT_NE(data[1000], plain[1000]);
    int wrong = 0;
    for (std::size_t i = 1001; i < data.size(); ++i)
        wrong += data[i] != plain[i];
    EXPECT_GT(wrong, 2900); // about 255 in 256 after the change
}

TEST(CipherRoundTrip, WipeClearsTheState) {
    Cipher cipher;
    cipher.Init("some key", "pc");
    cipher.NextKeyByte(9);
    cipher.Wipe();
    EXPECT_TRUE(std::all_of(cipher.PermA(), cipher.PermA() + 463, [](auto v) { return v == 0; }));
    EXPECT_TRUE(std::all_of(cipher.PermC(), cipher.PermC() + 181, [](auto v) { return v == 0; }));
    EXPECT_EQ(cipher.IndexSum(), 0);
}

TEST(DecryptBufferTest, OneByteIsDecryptedWithoutProgress) {
    test::ScopedTestHost scope;
    ReferenceCipher ref("pw123", "");
    const std::uint8_t expected = ref.Decrypt(0x5A);
    InitCipher("pw123", "");
    Bytes buffer{0x5A};
    DecryptBuffer(buffer);
    EXPECT_EQ(buffer, Bytes{expected});
    EXPECT_TRUE(scope.host.progress.empty());
    EXPECT_EQ(scope.host.eventCalls, 1);
}

TEST(DecryptBufferTest, ProgressFollowsTheYieldRule) {
    test::ScopedTestHost scope;
    std::mt19937 rng(3);
    const Bytes cipherText = RandomBytes(rng, 12001);
    ReferenceCipher ref("pw123", "x");
    Bytes expected = cipherText;
    for (auto& v : expected)
        v = ref.Decrypt(v);

    InitCipher("pw123", "x");
    Bytes buffer = cipherText;
    DecryptBuffer(buffer);
    EXPECT_EQ(buffer, expected);
    // Yields after bytes 0, 5000 and 10000 of 0..12000: 0, 20.83 and 41.67 percent.
    EXPECT_EQ(scope.host.eventCalls, 3);
    EXPECT_EQ(scope.host.progress, (std::vector<int>{21, 42}));
    EXPECT_EQ(LastProgress, 42);
}

TEST(DecryptBufferTest, HalfPercentRoundsToEven) {
    // 10001 bytes: byte 5000 of last 10000 is exactly 25; 20001 bytes, byte 5000 is 12.5 -> 12.
    test::ScopedTestHost scope;
    InitCipher("pw123", "");
    Bytes buffer(20001, 7);
    DecryptBuffer(buffer);
    EXPECT_EQ(scope.host.progress, (std::vector<int>{12, 25, 38, 50}));
}

TEST(DecryptBufferTest, CancelLeavesTheRestAsItWas) {
    test::ScopedTestHost scope(2);
    std::mt19937 rng(4);
    const Bytes cipherText = RandomBytes(rng, 12001);
    ReferenceCipher ref("pw123", "");
    Bytes expected = cipherText;
    for (std::size_t i = 0; i <= 5000; ++i)
        expected[i] = ref.Decrypt(expected[i]);

    InitCipher("pw123", "");
    Bytes buffer = cipherText;
    DecryptBuffer(buffer);
    EXPECT_EQ(buffer, expected);
    EXPECT_EQ(scope.host.eventCalls, 2);
    EXPECT_TRUE(scope.host.progress.empty());
}

} // namespace
} // namespace vw
