// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/format/RandomHeader.h"

#include <sys/random.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "engine/cipher/Cipher.h"
#include "engine/format/VwxFormat.h"
#include "engine/io/Bytes.h"
#include "engine/io/Failure.h"

namespace vw {

namespace {

// The header lengths a protected file may have: kMinHeaderLength and the kLengthSpan - 1 after.
constexpr std::size_t kLengthSpan = vwx::kMaxHeaderLength - vwx::kMinHeaderLength + 1;
// The random bytes are mixed in rounds, each under a fresh key of kMixKeyLength bytes; every
// kDecryptingRound-th round decrypts, the others encrypt.
constexpr int kMixRounds = 16;
constexpr std::size_t kMixKeyLength = 16;
constexpr int kDecryptingRound = 3;

// Uniform random bytes from the system's secure source.
void SystemRandom(std::uint8_t* out, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::getrandom(out, size, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            Raise({Fault::RandomUnavailable, {}, {}, errno});
        }
        out += got;
        size -= static_cast<std::size_t>(got);
    }
}

// The system's source, asked for many bytes at once: a header takes a few hundred, most of
// them one at a time. What is left over is wiped when it goes.
class BufferedSystemRandom {
  public:
    void operator()(std::uint8_t* out, std::size_t size) {
        while (size > 0) {
            if (at_ == buffer_.bytes.size()) {
                SystemRandom(buffer_.bytes.data(), buffer_.bytes.size());
                at_ = 0;
            }
            const std::size_t take = std::min(size, buffer_.bytes.size() - at_);
            std::memcpy(out, buffer_.bytes.data() + at_, take);
            SecureWipe(buffer_.bytes.data() + at_, take);
            at_ += take, out += take, size -= take;
        }
    }

  private:
    SecretArray<512> buffer_;
    std::size_t at_ = buffer_.bytes.size();
};

std::uint8_t RandomByte(const RandomSource& random) {
    std::uint8_t b = 0;
    random(&b, 1);
    return b;
}

// A uniform value 0 .. bound-1 (bound <= 256).
std::size_t RandomBelow(std::size_t bound, const RandomSource& random) {
    const std::size_t limit = 256 - 256 % bound;
    for (;;) {
        const std::size_t b = RandomByte(random);
        if (b < limit) return b % bound;
    }
}

// A random header length, with every byte of the pool mixed in.
std::size_t HeaderLength(const std::string& pool, const RandomSource& random) {
    std::size_t n = RandomBelow(kLengthSpan, random) + vwx::kMinHeaderLength;
    for (char c : pool)
        n ^= static_cast<unsigned char>(c);
    while (n > vwx::kMaxHeaderLength)
        n -= kLengthSpan;
    if (n < vwx::kMinHeaderLength) n += kLengthSpan;
    return n;
}

// Nearest signed 32-bit integer, halves to even; beyond the range, its nearest end.
std::int32_t NearestInt32(float v) {
    const double rounded = std::nearbyint(static_cast<double>(v));
    if (!(rounded >= std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (rounded > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

} // namespace

std::string MakeRandomHeader(const EntropyPool* entropy, const RandomSource& given) {
    BufferedSystemRandom system;
    const RandomSource random =
        given ? given : RandomSource([&](std::uint8_t* out, std::size_t size) { system(out, size); });
    const std::string none;
    const std::string& pool = entropy ? entropy->Bytes() : none;
    const std::size_t n = HeaderLength(pool, random);
    std::string r(n - 1, '\0');
    auto* bytes = reinterpret_cast<std::uint8_t*>(r.data());
    random(bytes, r.size());

    Cipher cipher;     // its own, wiped when it goes
    std::size_t p = 0; // pool position, running on across rounds
    for (int round = 1; round <= kMixRounds; ++round) {
        SecretArray<kMixKeyLength> key;
        for (std::uint8_t& byte : key.bytes) {
            byte = RandomByte(random);
            if (!pool.empty()) {
                byte ^= static_cast<std::uint8_t>(pool[p]);
                if (++p >= pool.size()) p = 0;
            }
        }
        cipher.Init(
            std::string_view(reinterpret_cast<const char*>(key.bytes.data()), key.bytes.size()),
            {});
        if (round % kDecryptingRound == 0)
            cipher.DecryptBlock(bytes, r.size());
        else
            cipher.EncryptBlock(bytes, r.size());
    }
    r.insert(r.begin(), static_cast<char>(n));
    return r;
}

void EntropyPool::AddMousePosition(float x, float y) {
    if (x == lastX_ && y == lastY_) return;
    lastX_ = x, lastY_ = y;
    const std::int32_t c = (NearestInt32(x) ^ NearestInt32(y)) & 255;
    pool_.push_back(static_cast<char>(c));
    if (pool_.size() > kSize) pool_.erase(0, 1);
}

} // namespace vw
