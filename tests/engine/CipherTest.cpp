#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/Cipher.h"
#include "engine/JobState.h"
#include "tests/support/TestHost.h"

namespace vw {
namespace {

// The key stream written out literally, one modulo per step, as the slow yardstick for the
// table-copying implementation.
class ReferenceCipher {
  public:
    ReferenceCipher(const std::string& password, const std::string& privateCode) {
        std::int32_t t = 0;
        std::uint8_t mixA[17] = {}, mixB[23] = {};
        Schedule(permA, 463, t,
                 [&](int i) { return static_cast<std::uint8_t>(password[i % password.size()]); });
        for (int i = 0; i < 463; ++i)
            mixA[i % 17] ^= static_cast<std::uint8_t>(permA[i] & 255);
        Schedule(permB, 251, t, [&](int i) { return mixA[i % 17]; });
        for (int i = 0; i < 251; ++i)
            mixB[i % 23] ^= static_cast<std::uint8_t>(permB[i] & 255);
        for (std::size_t i = 0; !privateCode.empty() && i < 23; ++i)
            mixB[i] ^= static_cast<std::uint8_t>(privateCode[i % privateCode.size()]);
        Schedule(permC, 181, t, [&](int i) { return mixB[i % 23]; });
    }

    std::uint8_t Next(std::uint8_t f) {
        const int a = Stage(permA, 463, iA, jA, f) & 255;
        const int b = Stage(permB, 251, iB, jB, a);
        const int c = Stage(permC, 181, iC, jC, b);
        return static_cast<std::uint8_t>((a + b + c) % 256);
    }
    std::uint8_t Encrypt(std::uint8_t p) { return feedback = p ^ Next(feedback); }
    std::uint8_t Decrypt(std::uint8_t c) {
        const std::uint8_t k = Next(feedback);
        feedback = c;
        return c ^ k;
    }

    std::int16_t permA[463], permB[251], permC[181];
    int iA = 0, jA = 0, iB = 0, jB = 0, iC = 0, jC = 0;
    std::uint8_t feedback = 0;

  private:
    template <class Key> static void Schedule(std::int16_t* p, int n, std::int32_t& t, Key key) {
        for (int i = 0; i < n; ++i)
            p[i] = static_cast<std::int16_t>(i);
        for (int i = 0; i < n; ++i) {
            t = (t + p[i] + key(i)) % n;
            std::swap(p[i], p[t]);
        }
    }
    static int Stage(std::int16_t* p, int n, int& i, int& j, int in) {
        i = (i + 1) % n;
        j = (p[i] + j + in) % n;
        std::swap(p[i], p[j]);
        return p[(p[j] + p[i]) % n];
    }
};

std::string RandomText(std::mt19937& rng, std::size_t size) {
    std::string s(size, '\0');
    for (auto& ch : s)
        ch = static_cast<char>(rng() & 255);
    return s;
}

Bytes RandomBytes(std::mt19937& rng, std::size_t size) {
    const std::string s = RandomText(rng, size);
    return Bytes(s.begin(), s.end());
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
        {"password", "p"},
        {"Segreto99", std::string(23, 'Z')},
        {std::string(463, 'q'), ""},
        {RandomText(rng, 464), RandomText(rng, 23)},
        {RandomText(rng, 1000), RandomText(rng, 1)},
    };
    for (int n = 0; n < 20; ++n) {
        const std::size_t plen = 1 + rng() % 600;
        keys.push_back({RandomText(rng, plen), RandomText(rng, rng() % 45)});
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

TEST(CipherKeyStream, InitAndNextKeyByteMatchTheLiteralSchedule) {
    std::mt19937 rng(7);
    for (const auto& key : ManyKeys()) {
        Cipher cipher;
        cipher.EncryptBlock(Bytes(10).data(), 10); // some earlier use
        cipher.Init(key.password, key.privateCode);
        ReferenceCipher ref(key.password, key.privateCode);
        ExpectSameState(cipher, ref);
        for (int n = 0; n < 3000; ++n) {
            const auto f = static_cast<std::uint8_t>(n < 600 ? 255 : rng());
            ASSERT_EQ(cipher.NextKeyByte(f), ref.Next(f)) << "byte " << n;
        }
        ExpectSameState(cipher, ref);
    }
}

TEST(CipherKeyStream, BlocksAndBytesMatchTheReferenceBothWays) {
    std::mt19937 rng(11);
    for (const auto& key : ManyKeys()) {
        const Bytes plain = RandomBytes(rng, 7000);
        ReferenceCipher ref(key.password, key.privateCode);
        Bytes expected = plain;
        for (auto& v : expected)
            v = ref.Encrypt(v);

        // Uneven block sizes, with single bytes between them, each way.
        for (bool encrypt : {true, false}) {
            Cipher cipher;
            cipher.Init(key.password, key.privateCode);
            Bytes blocks = encrypt ? plain : expected;
            std::size_t at = 0;
            for (std::size_t size : {1u, 0u, 2u, 1023u, 1024u, 1025u, 3u}) {
                encrypt ? cipher.EncryptBlock(blocks.data() + at, size)
                        : cipher.DecryptBlock(blocks.data() + at, size);
                at += size;
                blocks[at] =
                    encrypt ? cipher.EncryptByte(blocks[at]) : cipher.DecryptByte(blocks[at]);
                ++at;
            }
            encrypt ? cipher.EncryptBlock(blocks.data() + at, blocks.size() - at)
                    : cipher.DecryptBlock(blocks.data() + at, blocks.size() - at);
            ASSERT_EQ(blocks, encrypt ? expected : plain);
            ExpectSameState(cipher, ref);
        }
    }
    // The free functions use the one shared state.
    ReferenceCipher ref("global key", "pc");
    InitCipher("global key", "pc");
    for (int n = 0; n < 100; ++n)
        ASSERT_EQ(EncryptByte(static_cast<std::uint8_t>(n * 7)),
                  ref.Encrypt(static_cast<std::uint8_t>(n * 7)));
    EXPECT_EQ(DecryptByte(200), ref.Decrypt(200));
}

TEST(CipherState, OnlyTheFirst463PasswordAnd23CodeBytesCount) {
    const std::string k463(463, 'k');
    Cipher a, b, c;
    a.Init(k463 + "tail one", std::string(23, 'c') + "xyz");
    b.Init(k463 + "another tail", std::string(23, 'c') + "q");
    for (int n = 0; n < 1000; ++n)
        ASSERT_EQ(a.NextKeyByte(1), b.NextKeyByte(1));
    // A password one byte shorter than 463 wraps around instead and differs.
    c.Init(std::string(462, 'k') + "z", std::string(23, 'c'));
    a.Init(k463, std::string(23, 'c'));
    bool differs = false;
    for (int n = 0; n < 64; ++n)
        differs |= a.NextKeyByte(0) != c.NextKeyByte(0);
    EXPECT_TRUE(differs);
}

TEST(CipherRoundTrip, OnlyTheSameKeysRestoreAndAChangedByteSpoilsTheRest) {
    std::mt19937 rng(5);
    const Bytes plain = RandomBytes(rng, 20000);
    Cipher cipher;
    cipher.Init("password", "private");
    Bytes data = plain;
    cipher.EncryptBlock(data.data(), data.size());
    EXPECT_NE(data, plain);
    struct Key {
        const char* pw;
        const char* pc;
        bool same;
    };
    for (const auto& [pw, pc, same] :
         {Key{"password", "private", true}, Key{"passwore", "private", false},
          Key{"password", "privatf", false}}) {
        Bytes copy = data;
        cipher.Init(pw, pc);
        cipher.DecryptBlock(copy.data(), copy.size());
        EXPECT_EQ(copy == plain, same) << pw << " " << pc;
    }
    data[1000] ^= 1;
    cipher.Init("password", "private");
    cipher.DecryptBlock(data.data(), data.size());
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 1000, data.begin()));
    int wrong = 0;
    for (std::size_t i = 1000; i < data.size(); ++i)
        wrong += data[i] != plain[i];
    EXPECT_GT(wrong, 18500); // about 255 in 256 after the change
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

TEST(DecryptBufferTest, ProgressFollowsTheYieldRule) {
    struct Case {
        std::size_t size;
        std::vector<int> progress;
        int events;
    };
    // Yields after bytes 0, 5000, 10000...: one byte reports nothing; 12001 bytes 20.83 and
    // 41.67 percent; 20001 bytes 12.5 -> 12 (half to even), 25, 37.5 -> 38, 50.
    for (const Case& c :
         {Case{1, {}, 1}, Case{12001, {21, 42}, 3}, Case{20001, {12, 25, 38, 50}, 5}}) {
        test::ScopedTestHost scope;
        std::mt19937 rng(3);
        const Bytes cipherText = RandomBytes(rng, c.size);
        ReferenceCipher ref("pw123", "x");
        Bytes expected = cipherText;
        for (auto& v : expected)
            v = ref.Decrypt(v);
        InitCipher("pw123", "x");
        Bytes buffer = cipherText;
        DecryptBuffer(buffer);
        EXPECT_EQ(buffer, expected);
        EXPECT_EQ(scope.host.eventCalls, c.events);
        EXPECT_EQ(scope.host.progress, c.progress);
    }
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
