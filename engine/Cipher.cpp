#include "engine/Cipher.h"

#include <cstring>

#include "engine/JobState.h"

namespace vw {
namespace {

constexpr int kA = Cipher::kSizeA;
constexpr int kB = Cipher::kSizeB;
constexpr int kC = Cipher::kSizeC;

// x - m when x >= m: the only reduction the key stream needs, a compare and a conditional move.
inline int Reduce(int x, int m) { return x >= m ? x - m : x; }

// Decryption runs its three stages as three passes over a chunk; the chunk bounds the scratch.
constexpr std::size_t kChunk = 1024;

} // namespace

void Cipher::Replicate() noexcept {
    for (int c = 1; c < kCopiesA; ++c) std::memcpy(permA_ + c * kA, permA_, sizeof(std::int16_t) * kA);
    for (int c = 1; c < kCopiesB; ++c) std::memcpy(permB_ + c * kB, permB_, sizeof(std::int16_t) * kB);
    for (int c = 1; c < kCopiesC; ++c) std::memcpy(permC_ + c * kC, permC_, sizeof(std::int16_t) * kC);
}

void Cipher::Init(std::string_view password, std::string_view privateCode) {
    const std::size_t k = password.size();
    const std::size_t q = privateCode.size();
    const auto key = [&](std::size_t i) { return static_cast<std::uint8_t>(password[i % k]); };

    for (int i = 0; i < kA; ++i) permA_[i] = static_cast<std::int16_t>(i);
    std::int32_t t = 0;
    for (int i = 0; i < kA; ++i) {
        t = (t + permA_[i] + (k ? key(static_cast<std::size_t>(i)) : 0)) % kA;
        std::swap(permA_[i], permA_[t]);
    }
    std::uint8_t mixA[17] = {};
    for (int i = 0; i < kA; ++i) mixA[i % 17] ^= static_cast<std::uint8_t>(permA_[i] & 255);

    for (int i = 0; i < kB; ++i) permB_[i] = static_cast<std::int16_t>(i);
    for (int i = 0; i < kB; ++i) {
        t = (t + permB_[i] + mixA[i % 17]) % kB;
        std::swap(permB_[i], permB_[t]);
    }
    std::uint8_t mixB[23] = {};
    for (int i = 0; i < kB; ++i) mixB[i % 23] ^= static_cast<std::uint8_t>(permB_[i] & 255);
    if (q > 0) {
        for (std::size_t i = 0; i < 23; ++i) mixB[i] ^= static_cast<std::uint8_t>(privateCode[i % q]);
    }

    for (int i = 0; i < kC; ++i) permC_[i] = static_cast<std::int16_t>(i);
    for (int i = 0; i < kC; ++i) {
        t = (t + permC_[i] + mixB[i % 23]) % kC;
        std::swap(permC_[i], permC_[t]);
    }

    SecureWipe(mixA, sizeof mixA);
    SecureWipe(mixB, sizeof mixB);
    t = 0;
    Replicate();
    iA_ = jA_ = iB_ = jB_ = iC_ = jC_ = 0;
    feedback_ = 0;
}

// One step of the key stream, written out so the hot loops can keep the whole state in
// registers. Every stage: advance i, read x at i, j = (x + j + input) with the sum read
// directly from the copied table, exchange, output the entry at x + y.
#define VW_CIPHER_STEP(F, KEY)                                                                  \
    do {                                                                                        \
        iA = iA == kA - 1 ? 0 : iA + 1;                                                         \
        int x = A[iA];                                                                          \
        int j = Reduce(x + jA, kA) + (F);                                                       \
        int y = A[j];                                                                           \
        jA = Reduce(j, kA);                                                                     \
        A[iA] = A[iA + kA] = static_cast<std::int16_t>(y);                                      \
        A[jA] = A[jA + kA] = static_cast<std::int16_t>(x);                                      \
        const int a = A[x + y] & 255;                                                           \
        iB = iB == kB - 1 ? 0 : iB + 1;                                                         \
        x = B[iB];                                                                              \
        j = Reduce(x + jB, kB) + a;                                                             \
        y = B[j];                                                                               \
        jB = Reduce(Reduce(j, kB), kB);                                                         \
        B[iB] = B[iB + kB] = B[iB + 2 * kB] = static_cast<std::int16_t>(y);                     \
        B[jB] = B[jB + kB] = B[jB + 2 * kB] = static_cast<std::int16_t>(x);                     \
        const int b = B[x + y];                                                                 \
        iC = iC == kC - 1 ? 0 : iC + 1;                                                         \
        x = C[iC];                                                                              \
        j = Reduce(x + jC, kC) + b;                                                             \
        y = C[j];                                                                               \
        jC = Reduce(Reduce(j, kC), kC);                                                         \
        C[iC] = C[iC + kC] = C[iC + 2 * kC] = static_cast<std::int16_t>(y);                     \
        C[jC] = C[jC + kC] = C[jC + 2 * kC] = static_cast<std::int16_t>(x);                     \
        (KEY) = static_cast<std::uint8_t>(a + b + C[x + y]);                                    \
    } while (false)

#define VW_CIPHER_LOAD                                                                          \
    std::int16_t* const A = permA_;                                                             \
    std::int16_t* const B = permB_;                                                             \
    std::int16_t* const C = permC_;                                                             \
    int iA = iA_, jA = jA_, iB = iB_, jB = jB_, iC = iC_, jC = jC_

#define VW_CIPHER_STORE                                                                         \
    iA_ = iA;                                                                                   \
    jA_ = jA;                                                                                   \
    iB_ = iB;                                                                                   \
    jB_ = jB;                                                                                   \
    iC_ = iC;                                                                                   \
    jC_ = jC

std::uint8_t Cipher::NextKeyByte(std::uint8_t feedback) {
    VW_CIPHER_LOAD;
    std::uint8_t key;
    VW_CIPHER_STEP(feedback, key);
    VW_CIPHER_STORE;
    return key;
}

std::uint8_t Cipher::EncryptByte(std::uint8_t plain) {
    const std::uint8_t c = plain ^ NextKeyByte(feedback_);
    feedback_ = c;
    return c;
}

std::uint8_t Cipher::DecryptByte(std::uint8_t cipher) {
    const std::uint8_t k = NextKeyByte(feedback_);
    feedback_ = cipher;
    return cipher ^ k;
}

void Cipher::EncryptBlock(std::uint8_t* data, std::size_t size) {
    // Each byte waits for the ciphertext of the one before: one long chain, kept short by
    // the copied tables (no reduction between a sum and the read it indexes).
    VW_CIPHER_LOAD;
    std::uint8_t f = feedback_;
    for (std::size_t n = 0; n < size; ++n) {
        std::uint8_t key;
        VW_CIPHER_STEP(f, key);
        f = static_cast<std::uint8_t>(data[n] ^ key);
        data[n] = f;
    }
    VW_CIPHER_STORE;
    feedback_ = f;
}

void Cipher::DecryptChunk(std::uint8_t* data, std::size_t size) {
    // The feedback of every byte is already known, so the three stages run as three passes:
    // each pass carries only its own indices from byte to byte and the processor overlaps
    // the table reads of consecutive bytes.
    std::uint8_t outA[kChunk];
    std::uint8_t outB[kChunk];
    std::int16_t* const A = permA_;
    std::int16_t* const B = permB_;
    std::int16_t* const C = permC_;

    int i = iA_, j = jA_;
    std::uint8_t f = feedback_;
    for (std::size_t n = 0; n < size; ++n) {
        i = i == kA - 1 ? 0 : i + 1;
        const int x = A[i];
        const int r = Reduce(x + j, kA) + f;
        const int y = A[r];
        j = Reduce(r, kA);
        A[i] = A[i + kA] = static_cast<std::int16_t>(y);
        A[j] = A[j + kA] = static_cast<std::int16_t>(x);
        outA[n] = static_cast<std::uint8_t>(A[x + y]);
        f = data[n];
    }
    iA_ = i;
    jA_ = j;

    i = iB_;
    j = jB_;
    for (std::size_t n = 0; n < size; ++n) {
        i = i == kB - 1 ? 0 : i + 1;
        const int x = B[i];
        const int r = Reduce(x + j, kB) + outA[n];
        const int y = B[r];
        j = Reduce(Reduce(r, kB), kB);
        B[i] = B[i + kB] = B[i + 2 * kB] = static_cast<std::int16_t>(y);
        B[j] = B[j + kB] = B[j + 2 * kB] = static_cast<std::int16_t>(x);
        outB[n] = static_cast<std::uint8_t>(B[x + y]);
    }
    iB_ = i;
    jB_ = j;

    i = iC_;
    j = jC_;
    feedback_ = data[size - 1];
    for (std::size_t n = 0; n < size; ++n) {
        i = i == kC - 1 ? 0 : i + 1;
        const int x = C[i];
        const int r = Reduce(x + j, kC) + outB[n];
        const int y = C[r];
        j = Reduce(Reduce(r, kC), kC);
        C[i] = C[i + kC] = C[i + 2 * kC] = static_cast<std::int16_t>(y);
        C[j] = C[j + kC] = C[j + 2 * kC] = static_cast<std::int16_t>(x);
        data[n] ^= static_cast<std::uint8_t>(outA[n] + outB[n] + C[x + y]);
    }
    iC_ = i;
    jC_ = j;
    SecureWipe(outA, size);
    SecureWipe(outB, size);
}

void Cipher::DecryptBlock(std::uint8_t* data, std::size_t size) {
    for (std::size_t done = 0; done < size; done += kChunk) {
        const std::size_t n = size - done < kChunk ? size - done : kChunk;
        DecryptChunk(data + done, n);
    }
}

void Cipher::Wipe() noexcept {
    SecureWipe(permA_, sizeof permA_);
    SecureWipe(permB_, sizeof permB_);
    SecureWipe(permC_, sizeof permC_);
    iA_ = jA_ = iB_ = jB_ = iC_ = jC_ = 0;
    feedback_ = 0;
}

#undef VW_CIPHER_STEP
#undef VW_CIPHER_LOAD
#undef VW_CIPHER_STORE

Cipher& TheCipher() {
    static Cipher cipher;
    return cipher;
}

void InitCipher(std::string_view password, std::string_view privateCode) {
    TheCipher().Init(password, privateCode);
}

std::uint8_t NextKeyByte(std::uint8_t feedback) { return TheCipher().NextKeyByte(feedback); }

std::uint8_t EncryptByte(std::uint8_t plain) { return TheCipher().EncryptByte(plain); }

std::uint8_t DecryptByte(std::uint8_t cipher) { return TheCipher().DecryptByte(cipher); }

void DecryptBuffer(Bytes& buffer) {
    if (buffer.empty()) return;
    Cipher& cipher = TheCipher();
    const std::size_t size = buffer.size();
    const double last = static_cast<double>(size - 1);
    constexpr std::size_t kInterval = 5000;
    // Byte 0 is a yield point, then every multiple of the interval: decrypt up to and
    // including each such index, then yield.
    std::size_t from = 0;
    std::size_t point = 0;
    while (from < size) {
        const std::size_t to = point < size ? point + 1 : size;
        cipher.DecryptBlock(buffer.data() + from, to - from);
        from = to;
        if (point >= size) break;
        const double percent = size == 1 ? 0.0 : static_cast<double>(point) / last * 50;
        if (!YieldPoint(percent)) return;
        point += kInterval;
    }
}

} // namespace vw
