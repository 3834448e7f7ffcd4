// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Cipher.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "engine/JobState.h"

namespace vw {
namespace {

using Index = std::size_t;

constexpr Index kA = Cipher::kSizeA;
constexpr Index kB = Cipher::kSizeB;
constexpr Index kC = Cipher::kSizeC;

// x - m when x >= m: the only reduction the key stream needs. It must not become a branch,
// which would be mispredicted half of the time: a conditional move where the processor has one,
// else a mask.
inline Index Reduce(Index x, Index m) {
#if defined(__x86_64__) && defined(__GNUC__)
    const Index less = x - m;
    asm("cmp %[m], %[x]\n\tcmovae %[less], %[x]"
        : [x] "+r"(x)
        : [less] "r"(less), [m] "ri"(m)
        : "cc");
    return x;
#else
    return x - (m & (Index{0} - Index{x >= m}));
#endif
}

// (j + t) mod m for j and t below m, with the reduction carried on j kept to two instructions:
// the addition of t - m sets the carry exactly when j + t >= m, and a conditional move takes
// j + t, computed alongside, when it does not.
inline Index AddReduce(Index j, Index t, Index m) {
#if defined(__x86_64__) && defined(__GNUC__)
    const Index sum = j + t;
    const Index less = t - m;
    asm("add %[less], %[j]\n\tcmovae %[sum], %[j]"
        : [j] "+r"(j)
        : [less] "r"(less), [sum] "r"(sum)
        : "cc");
    return j;
#else
    return Reduce(j + t, m);
#endif
}

// The tables seen as unsigned entries, so that indices need no sign extension.
inline std::uint16_t* Entries(std::int16_t* table) {
    return reinterpret_cast<std::uint16_t*>(table);
}

// Clears scratch that held key-stream parts; the barrier keeps the stores.
inline void ClearScratch(void* data, std::size_t size) {
    std::memset(data, 0, size);
    asm volatile("" : : "r"(data) : "memory");
}

// The low byte of table[k], read as a byte (entries are little-endian): stage A keeps only
// those 8 bits and the entries of B and C are below 256, so no masking is needed on the chain.
inline Index LowByte(const std::uint16_t* table, Index k) {
    return reinterpret_cast<const std::uint8_t*>(table)[2 * k];
}

// Decryption runs its three stages as three passes over a chunk; the chunk bounds the scratch.
constexpr std::size_t kChunk = 1024;

} // namespace

void Cipher::Replicate() noexcept {
    CopyFirst(permA_, kSizeA, kCopiesA);
    CopyFirst(permB_, kSizeB, kCopiesB);
    CopyFirst(permC_, kSizeC, kCopiesC);
}

void Cipher::CopyFirst(std::int16_t* table, int size, int copies) noexcept {
    for (int c = 1; c < copies; ++c)
        std::memcpy(table + c * size, table, sizeof(std::int16_t) * static_cast<std::size_t>(size));
}

void Cipher::Init(std::string_view password, std::string_view privateCode) {
    const std::size_t k = password.size();
    const std::size_t q = privateCode.size();
    // An empty password is outside the interface; it keys like a single zero byte.
    const auto key = [&](int i) {
        return k ? static_cast<std::uint8_t>(password[static_cast<std::size_t>(i) % k]) : 0;
    };

    for (int i = 0; i < kSizeA; ++i)
        permA_[i] = static_cast<std::int16_t>(i);
    std::int32_t t = 0;
    for (int i = 0; i < kSizeA; ++i) {
        t = (t + permA_[i] + key(i)) % kSizeA;
        std::swap(permA_[i], permA_[t]);
    }
    std::uint8_t mixA[17] = {};
    for (int i = 0; i < kSizeA; ++i)
        mixA[i % 17] ^= static_cast<std::uint8_t>(permA_[i] & 255);

    for (int i = 0; i < kSizeB; ++i)
        permB_[i] = static_cast<std::int16_t>(i);
    for (int i = 0; i < kSizeB; ++i) {
        t = (t + permB_[i] + mixA[i % 17]) % kSizeB;
        std::swap(permB_[i], permB_[t]);
    }
    std::uint8_t mixB[23] = {};
    for (int i = 0; i < kSizeB; ++i)
        mixB[i % 23] ^= static_cast<std::uint8_t>(permB_[i] & 255);
    if (q > 0) {
        for (std::size_t i = 0; i < 23; ++i)
            mixB[i] ^= static_cast<std::uint8_t>(privateCode[i % q]);
    }

    for (int i = 0; i < kSizeC; ++i)
        permC_[i] = static_cast<std::int16_t>(i);
    for (int i = 0; i < kSizeC; ++i) {
        t = (t + permC_[i] + mixB[i % 23]) % kSizeC;
        std::swap(permC_[i], permC_[t]);
    }

    SecureWipe(mixA, sizeof mixA);
    SecureWipe(mixB, sizeof mixB);
    Replicate();
    iA_ = jA_ = iB_ = jB_ = iC_ = jC_ = 0;
    feedback_ = 0;
}

// One step of the key stream, written out so that the hot loops keep the whole state in
// registers. Every stage: advance i, read x at i, j = x + j + input where the sum indexes the
// copied table directly (the reduced j is only needed for the exchange), exchange, and output
// the entry at x + y.
#define VW_CIPHER_STEP(F, KEY)                                                                     \
    do {                                                                                           \
        iA = iA == kA - 1 ? 0 : iA + 1;                                                            \
        Index x = A[iA];                                                                           \
        Index j = Reduce(x + jA, kA) + (F);                                                        \
        Index y = A[j];                                                                            \
        jA = Reduce(j, kA);                                                                        \
        A[iA] = A[iA + kA] = static_cast<std::uint16_t>(y);                                        \
        A[jA] = A[jA + kA] = static_cast<std::uint16_t>(x);                                        \
        const Index a = LowByte(A, x + y);                                                         \
        iB = iB == kB - 1 ? 0 : iB + 1;                                                            \
        x = B[iB];                                                                                 \
        j = Reduce(x + jB, kB) + a;                                                                \
        y = B[j];                                                                                  \
        jB = Reduce(Reduce(j, kB), kB);                                                            \
        B[iB] = B[iB + kB] = B[iB + 2 * kB] = static_cast<std::uint16_t>(y);                       \
        B[jB] = B[jB + kB] = B[jB + 2 * kB] = static_cast<std::uint16_t>(x);                       \
        const Index b = LowByte(B, x + y);                                                         \
        iC = iC == kC - 1 ? 0 : iC + 1;                                                            \
        x = C[iC];                                                                                 \
        j = Reduce(x + jC, kC) + b;                                                                \
        y = C[j];                                                                                  \
        jC = Reduce(Reduce(j, kC), kC);                                                            \
        C[iC] = C[iC + kC] = C[iC + 2 * kC] = static_cast<std::uint16_t>(y);                       \
        C[jC] = C[jC + kC] = C[jC + 2 * kC] = static_cast<std::uint16_t>(x);                       \
        (KEY) = static_cast<std::uint8_t>(a + b + LowByte(C, x + y));                              \
    } while (false)

#define VW_CIPHER_LOAD                                                                             \
    std::uint16_t* const A = Entries(permA_);                                                      \
    std::uint16_t* const B = Entries(permB_);                                                      \
    std::uint16_t* const C = Entries(permC_);                                                      \
    Index iA = static_cast<Index>(iA_), jA = static_cast<Index>(jA_);                              \
    Index iB = static_cast<Index>(iB_), jB = static_cast<Index>(jB_);                              \
    Index iC = static_cast<Index>(iC_), jC = static_cast<Index>(jC_)

#define VW_CIPHER_STORE                                                                            \
    iA_ = static_cast<int>(iA);                                                                    \
    jA_ = static_cast<int>(jA);                                                                    \
    iB_ = static_cast<int>(iB);                                                                    \
    jB_ = static_cast<int>(jB);                                                                    \
    iC_ = static_cast<int>(iC);                                                                    \
    jC_ = static_cast<int>(jC)

std::uint8_t Cipher::NextKeyByte(std::uint8_t feedback) {
    VW_CIPHER_LOAD;
    std::uint8_t key;
    VW_CIPHER_STEP(Index{feedback}, key);
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
    // Each byte waits for the ciphertext of the one before: one long chain, kept short by the
    // copied tables (no reduction between a sum and the read it indexes).
    VW_CIPHER_LOAD;
    Index f = feedback_;
    for (std::size_t n = 0; n < size; ++n) {
        std::uint8_t key;
        VW_CIPHER_STEP(f, key);
        f = data[n] ^ key;
        data[n] = static_cast<std::uint8_t>(f);
    }
    VW_CIPHER_STORE;
    feedback_ = static_cast<std::uint8_t>(f);
}

// The feedback of every byte is already known in decryption, so its three stages run as three
// passes: each pass carries only its own j from byte to byte, and the input is added to x before
// j, so that the carried chain is one addition and one reduction while the processor overlaps
// the table reads of consecutive bytes. Stores bound these loops, so they keep the first copy of
// each table only, reducing every index instead, and their callers bring the other copies up to
// date at the end of a run (CopyFirst).
void Cipher::StageA(const std::uint8_t* data, std::size_t size, std::uint8_t* outA) {
    std::uint16_t* const A = Entries(permA_);
    Index i = static_cast<Index>(iA_), j = static_cast<Index>(jA_);
    Index f = feedback_;
    for (std::size_t n = 0; n < size; ++n) {
        i = i == kA - 1 ? 0 : i + 1;
        const Index x = A[i];
        j = AddReduce(j, Reduce(x + f, kA), kA);
        const Index y = A[j];
        A[i] = static_cast<std::uint16_t>(y);
        A[j] = static_cast<std::uint16_t>(x);
        outA[n] = static_cast<std::uint8_t>(A[Reduce(x + y, kA)]);
        f = data[n];
    }
    iA_ = static_cast<int>(i);
    jA_ = static_cast<int>(j);
    feedback_ = static_cast<std::uint8_t>(f);
}

void Cipher::StageB(const std::uint8_t* outA, std::size_t size, std::uint8_t* outB,
                    std::uint8_t* sum) {
    std::uint16_t* const B = Entries(permB_);
    Index i = static_cast<Index>(iB_), j = static_cast<Index>(jB_);
    for (std::size_t n = 0; n < size; ++n) {
        i = i == kB - 1 ? 0 : i + 1;
        const Index x = B[i];
        j = AddReduce(j, Reduce(Reduce(x + outA[n], kB), kB), kB);
        const Index y = B[j];
        B[i] = static_cast<std::uint16_t>(y);
        B[j] = static_cast<std::uint16_t>(x);
        const Index b = B[Reduce(x + y, kB)];
        outB[n] = static_cast<std::uint8_t>(b);
        sum[n] = static_cast<std::uint8_t>(outA[n] + b);
    }
    iB_ = static_cast<int>(i);
    jB_ = static_cast<int>(j);
}

void Cipher::StageC(std::uint8_t* data, std::size_t size, const std::uint8_t* outB,
                    const std::uint8_t* sum) {
    std::uint16_t* const C = Entries(permC_);
    Index i = static_cast<Index>(iC_), j = static_cast<Index>(jC_);
    for (std::size_t n = 0; n < size; ++n) {
        i = i == kC - 1 ? 0 : i + 1;
        const Index x = C[i];
        j = AddReduce(j, Reduce(Reduce(x + outB[n], kC), kC), kC);
        const Index y = C[j];
        C[i] = static_cast<std::uint16_t>(y);
        C[j] = static_cast<std::uint16_t>(x);
        data[n] ^= static_cast<std::uint8_t>(sum[n] + C[Reduce(x + y, kC)]);
    }
    iC_ = static_cast<int>(i);
    jC_ = static_cast<int>(j);
}

void Cipher::StagesAB(const std::uint8_t* data, std::size_t size, std::uint8_t* outA,
                      const std::uint8_t* inB, std::uint8_t* outB, std::uint8_t* sum) {
    std::uint16_t* const A = Entries(permA_);
    std::uint16_t* const B = Entries(permB_);
    Index iA = static_cast<Index>(iA_), jA = static_cast<Index>(jA_), f = feedback_;
    Index iB = static_cast<Index>(iB_), jB = static_cast<Index>(jB_);
    for (std::size_t n = 0; n < size; ++n) {
        iA = iA == kA - 1 ? 0 : iA + 1;
        const Index xA = A[iA];
        jA = AddReduce(jA, Reduce(xA + f, kA), kA);
        const Index yA = A[jA];
        A[iA] = static_cast<std::uint16_t>(yA);
        A[jA] = static_cast<std::uint16_t>(xA);
        outA[n] = static_cast<std::uint8_t>(A[Reduce(xA + yA, kA)]);
        f = data[n];

        iB = iB == kB - 1 ? 0 : iB + 1;
        const Index xB = B[iB];
        jB = AddReduce(jB, Reduce(Reduce(xB + inB[n], kB), kB), kB);
        const Index yB = B[jB];
        B[iB] = static_cast<std::uint16_t>(yB);
        B[jB] = static_cast<std::uint16_t>(xB);
        const Index b = B[Reduce(xB + yB, kB)];
        outB[n] = static_cast<std::uint8_t>(b);
        sum[n] = static_cast<std::uint8_t>(inB[n] + b);
    }
    iA_ = static_cast<int>(iA);
    jA_ = static_cast<int>(jA);
    feedback_ = static_cast<std::uint8_t>(f);
    iB_ = static_cast<int>(iB);
    jB_ = static_cast<int>(jB);
}

void Cipher::DecryptFirstHalf(const std::uint8_t* data, std::size_t size, std::uint8_t* partB,
                              std::uint8_t* partSum) {
    // Stage A runs one block ahead of stage B, the two in one loop.
    std::uint8_t outA[2][kChunk];
    const std::size_t blocks = (size + kChunk - 1) / kChunk;
    for (std::size_t k = 0; k <= blocks; ++k) {
        const std::size_t at = k * kChunk, before = k > 0 ? at - kChunk : 0;
        const std::size_t n = k < blocks ? std::min(kChunk, size - at) : 0; // A: block k
        const std::size_t m = k > 0 ? std::min(kChunk, size - before) : 0;  // B: block k - 1
        const std::size_t both = std::min(n, m);
        std::uint8_t* const a = outA[k & 1];
        const std::uint8_t* const b = outA[(k + 1) & 1];
        StagesAB(data + at, both, a, b, partB + before, partSum + before);
        if (n > both) StageA(data + at + both, n - both, a + both);
        if (m > both) StageB(b + both, m - both, partB + before + both, partSum + before + both);
    }
    ClearScratch(outA, sizeof outA);
    CopyFirst(permA_, kSizeA, kCopiesA);
    CopyFirst(permB_, kSizeB, kCopiesB);
}

void Cipher::DecryptSecondHalf(std::uint8_t* data, std::size_t size, const std::uint8_t* partB,
                               const std::uint8_t* partSum) {
    StageC(data, size, partB, partSum);
    CopyFirst(permC_, kSizeC, kCopiesC);
}

void Cipher::StagesABC(const Runs& runs, std::size_t size) {
    std::uint16_t* const A = Entries(permA_);
    std::uint16_t* const B = Entries(permB_);
    std::uint16_t* const C = Entries(permC_);
    Index iA = static_cast<Index>(iA_), jA = static_cast<Index>(jA_), f = feedback_;
    Index iB = static_cast<Index>(iB_), jB = static_cast<Index>(jB_);
    Index iC = static_cast<Index>(iC_), jC = static_cast<Index>(jC_);
    const std::uint8_t* const dataA = runs.dataA;
    std::uint8_t* const outA = runs.outA;
    const std::uint8_t* const inB = runs.inB;
    std::uint8_t* const outB = runs.outB;
    std::uint8_t* const sumB = runs.sumB;
    std::uint8_t* const dataC = runs.dataC;
    const std::uint8_t* const inC = runs.inC;
    const std::uint8_t* const sumC = runs.sumC;
    for (std::size_t n = 0; n < size; ++n) {
        iA = iA == kA - 1 ? 0 : iA + 1;
        const Index xA = A[iA];
        jA = AddReduce(jA, Reduce(xA + f, kA), kA);
        const Index yA = A[jA];
        A[iA] = static_cast<std::uint16_t>(yA);
        A[jA] = static_cast<std::uint16_t>(xA);
        outA[n] = static_cast<std::uint8_t>(A[Reduce(xA + yA, kA)]);
        f = dataA[n];

        iB = iB == kB - 1 ? 0 : iB + 1;
        const Index xB = B[iB];
        jB = AddReduce(jB, Reduce(Reduce(xB + inB[n], kB), kB), kB);
        const Index yB = B[jB];
        B[iB] = static_cast<std::uint16_t>(yB);
        B[jB] = static_cast<std::uint16_t>(xB);
        const Index b = B[Reduce(xB + yB, kB)];
        outB[n] = static_cast<std::uint8_t>(b);
        sumB[n] = static_cast<std::uint8_t>(inB[n] + b);

        iC = iC == kC - 1 ? 0 : iC + 1;
        const Index xC = C[iC];
        jC = AddReduce(jC, Reduce(Reduce(xC + inC[n], kC), kC), kC);
        const Index yC = C[jC];
        C[iC] = static_cast<std::uint16_t>(yC);
        C[jC] = static_cast<std::uint16_t>(xC);
        dataC[n] ^= static_cast<std::uint8_t>(sumC[n] + C[Reduce(xC + yC, kC)]);
    }
    iA_ = static_cast<int>(iA);
    jA_ = static_cast<int>(jA);
    feedback_ = static_cast<std::uint8_t>(f);
    iB_ = static_cast<int>(iB);
    jB_ = static_cast<int>(jB);
    iC_ = static_cast<int>(iC);
    jC_ = static_cast<int>(jC);
}

void Cipher::DecryptBlock(std::uint8_t* data, std::size_t size) {
    // Stage A runs on block k while B runs on block k - 1 and C on block k - 2, in one loop;
    // each stage's outputs for a block wait in one of two buffers.
    std::uint8_t outA[2][kChunk], outB[2][kChunk], sum[2][kChunk];
    const std::size_t blocks = (size + kChunk - 1) / kChunk;
    const auto length = [&](std::size_t k, std::size_t behind) -> std::size_t {
        if (k < behind || k - behind >= blocks) return 0;
        return std::min(kChunk, size - (k - behind) * kChunk);
    };
    for (std::size_t k = 0; k < blocks + 2; ++k) {
        const std::size_t nA = length(k, 0), nB = length(k, 1), nC = length(k, 2);
        const std::size_t all = std::min({nA, nB, nC});
        const std::size_t p = k & 1, q = p ^ 1; // buffers of blocks k (and k - 2), and k - 1
        std::uint8_t* const blockA = data + std::min(k * kChunk, size);
        std::uint8_t* const blockC = data + (k >= 2 ? k - 2 : 0) * kChunk;
        const Runs runs{blockA, outA[p], outA[q], outB[q], sum[q], blockC, outB[p], sum[p]};
        if (all > 0) StagesABC(runs, all);
        if (nA > all) StageA(runs.dataA + all, nA - all, runs.outA + all);
        if (nB > all) StageB(runs.inB + all, nB - all, runs.outB + all, runs.sumB + all);
        if (nC > all) StageC(runs.dataC + all, nC - all, runs.inC + all, runs.sumC + all);
    }
    ClearScratch(outA, sizeof outA);
    ClearScratch(outB, sizeof outB);
    ClearScratch(sum, sizeof sum);
    Replicate();
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

std::uint8_t NextKeyByte(std::uint8_t feedback) {
    return TheCipher().NextKeyByte(feedback);
}

std::uint8_t EncryptByte(std::uint8_t plain) {
    return TheCipher().EncryptByte(plain);
}

std::uint8_t DecryptByte(std::uint8_t cipher) {
    return TheCipher().DecryptByte(cipher);
}

void DecryptBuffer(Bytes& buffer) {
    if (buffer.empty()) return;
    Cipher& cipher = TheCipher();
    const std::size_t size = buffer.size();
    const double last = static_cast<double>(size - 1);
    // Byte 0 is a yield point, then every multiple of the interval: decrypt up to and including
    // each such index, then yield.
    std::size_t from = 0;
    for (std::size_t point = 0; point < size; point += Cipher::kYieldInterval) {
        cipher.DecryptBlock(buffer.data() + from, point + 1 - from);
        from = point + 1;
        const double percent = size == 1 ? 0.0 : static_cast<double>(point) / last * 50;
        if (!YieldPoint(percent)) return;
    }
    if (from < size) cipher.DecryptBlock(buffer.data() + from, size - from);
}

} // namespace vw
