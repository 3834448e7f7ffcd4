// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cipher/Cipher.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

namespace vw {
namespace {

using Index = std::size_t;

// The stages read a table entry's low byte straight from memory.
static_assert(std::endian::native == std::endian::little, "table entries are read as bytes");

#if defined(__GNUC__)
#define VW_ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define VW_ALWAYS_INLINE inline
#endif

// x - m when x >= m: the only reduction the key stream needs. It must not become a branch,
// which would be mispredicted half of the time: a conditional move where the processor has one,
// else a mask.
VW_ALWAYS_INLINE Index Reduce(Index x, Index m) {
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
VW_ALWAYS_INLINE Index AddReduce(Index j, Index t, Index m) {
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

// s mod n for s below n + top: the reductions a sum of an entry and an input below top needs.
template <Index n, Index top> VW_ALWAYS_INLINE Index ReduceBelow(Index s) {
    static_assert(top <= 2 * n, "one or two reductions");
    if constexpr (n - 1 + top - 1 >= 2 * n) s = Reduce(s, n);
    return Reduce(s, n);
}

// One stage of the key stream over its table t of n entries (kept in `copies` copies) and its
// running indices i and j, given the stage's input (below top): i moves on by one, j adds the
// entry at i and the input, the entries at i and j are exchanged, and the stage gives the low
// byte of the entry at the sum of the two. All three stages, in every pass, take this step.
//
// With the copies (the encrypting loop, where each byte waits for the one before), indices that
// are sums are read unreduced and both exchanged entries are written to every copy: the chain
// from the input to the output is a sum and two reads. With one copy (decryption, whose stages
// run as independent passes), every index is reduced and only the first copy is written, so the
// stores do not bound the loop; Replicate brings the other copies up to date afterwards.
template <Index n, Index top, int copies>
VW_ALWAYS_INLINE Index Step(std::uint16_t* t, Index& i, Index& j, Index input) {
    i = i == n - 1 ? 0 : i + 1;
    const Index x = t[i];
    Index y;
    if constexpr (copies > 1) {
        static_assert((n - 1) + (top - 1) < copies * n && 2 * (n - 1) < copies * n);
        const Index at = Reduce(x + j, n) + input; // indexes a copy directly
        y = t[at];
        j = ReduceBelow<n, top>(at);
        for (int c = 0; c < copies; ++c) {
            t[i + static_cast<Index>(c) * n] = static_cast<std::uint16_t>(y);
            t[j + static_cast<Index>(c) * n] = static_cast<std::uint16_t>(x);
        }
        return reinterpret_cast<const std::uint8_t*>(t)[2 * (x + y)];
    } else {
        j = AddReduce(j, ReduceBelow<n, top>(x + input), n);
        y = t[j];
        t[i] = static_cast<std::uint16_t>(y);
        t[j] = static_cast<std::uint16_t>(x);
        return reinterpret_cast<const std::uint8_t*>(t)[2 * Reduce(x + y, n)];
    }
}

constexpr Index kA = Cipher::kSizeA;
constexpr Index kB = Cipher::kSizeB;
constexpr Index kC = Cipher::kSizeC;

// The tables seen as unsigned entries, so that indices need no sign extension.
inline std::uint16_t* Entries(std::int16_t* table) {
    return reinterpret_cast<std::uint16_t*>(table);
}

// Clears scratch that held key-stream parts; the barrier keeps the stores.
inline void ClearScratch(void* data, std::size_t size) {
    std::memset(data, 0, size);
    asm volatile("" : : "r"(data) : "memory");
}

// Shuffles 0..size-1 into table by the key bytes key[0, keySize), repeated, the accumulator t
// carried from one table to the next, then folds the entries' low bytes into mix (of mixSize
// bytes; none for mixSize 0). t + entry + key byte is below 2 size + 256, so t mod size takes
// a fixed number of conditional subtractions (Reduce): a division for every entry took most of
// the time of keying, and a loop of subtractions a mispredicted branch for most entries. The
// shuffle works on a local copy (wiped after), whose accesses the sanitizers of the fuzz build
// check more cheaply than those through the table's pointer.
template <int size>
void Schedule(std::int16_t* table, std::int32_t& t, const std::uint8_t* key, std::size_t keySize,
              std::uint8_t* mix, int mixSize) {
    constexpr int kReductions = (2 * (size - 1) + 255) / size;
    std::uint16_t local[size];
    for (int i = 0; i < size; ++i)
        local[i] = static_cast<std::uint16_t>(i);
    std::size_t k = 0; // i mod keySize
    Index x = static_cast<Index>(t);
    for (int i = 0; i < size; ++i) {
        x += static_cast<Index>(local[i]) + key[k];
        for (int r = 0; r < kReductions; ++r)
            x = Reduce(x, size);
        std::swap(local[i], local[x]);
        if (++k == keySize) k = 0;
    }
    t = static_cast<std::int32_t>(x);
    std::memcpy(table, local, sizeof local);
    for (int i = 0, m = 0; i < size && mixSize > 0; ++i) {
        mix[m] ^= static_cast<std::uint8_t>(local[i] & 255);
        if (++m == mixSize) m = 0;
    }
    SecureWipe(local, sizeof local);
}

// Decryption works through a run in blocks of this size; the blocks bound the scratch.
constexpr std::size_t kBlock = 1024;

} // namespace

void Cipher::Init(std::string_view password, std::string_view privateCode) {
    constexpr int kMixA = 17, kMixB = 23;
    std::uint8_t mixA[kMixA] = {}, mixB[kMixB] = {};
    std::int32_t t = 0;
    // An empty password is outside the interface; it keys like a single zero byte.
    static constexpr std::uint8_t kNoPassword[1] = {0};
    const auto* key =
        password.empty() ? kNoPassword : reinterpret_cast<const std::uint8_t*>(password.data());
    Schedule<kSizeA>(permA_, t, key, std::max<std::size_t>(password.size(), 1), mixA, kMixA);
    Schedule<kSizeB>(permB_, t, mixA, kMixA, mixB, kMixB);
    for (std::size_t i = 0; !privateCode.empty() && i < kMixB; ++i)
        mixB[i] ^= static_cast<std::uint8_t>(privateCode[i % privateCode.size()]);
    Schedule<kSizeC>(permC_, t, mixB, kMixB, nullptr, 0);
    SecureWipe(mixA, sizeof mixA);
    SecureWipe(mixB, sizeof mixB);
    Replicate<true, true, true>();
    iA_ = jA_ = iB_ = jB_ = iC_ = jC_ = 0;
    feedback_ = 0;
}

template <bool kCopyA, bool kCopyB, bool kCopyC> void Cipher::Replicate() noexcept {
    const auto copy = [](std::int16_t* table, int size, int copies) {
        for (int c = 1; c < copies; ++c)
            std::memcpy(table + c * size, table, sizeof(std::int16_t) * static_cast<Index>(size));
    };
    if constexpr (kCopyA) copy(permA_, kSizeA, kCopiesA);
    if constexpr (kCopyB) copy(permB_, kSizeB, kCopiesB);
    if constexpr (kCopyC) copy(permC_, kSizeC, kCopiesC);
}

// The encrypting loop: each byte's key waits for the ciphertext of the byte before.
void Cipher::EncryptBlock(std::uint8_t* data, std::size_t size) {
    std::uint16_t* const A = Entries(permA_);
    std::uint16_t* const B = Entries(permB_);
    std::uint16_t* const C = Entries(permC_);
    Index iA = static_cast<Index>(iA_), jA = static_cast<Index>(jA_);
    Index iB = static_cast<Index>(iB_), jB = static_cast<Index>(jB_);
    Index iC = static_cast<Index>(iC_), jC = static_cast<Index>(jC_);
    Index f = feedback_;
    for (std::size_t k = 0; k < size; ++k) {
        const Index a = Step<kA, 256, kCopiesA>(A, iA, jA, f);
        const Index b = Step<kB, 256, kCopiesB>(B, iB, jB, a);
        const Index c = Step<kC, kB, kCopiesC>(C, iC, jC, b);
        f = data[k] ^ static_cast<std::uint8_t>(a + b + c);
        data[k] = static_cast<std::uint8_t>(f);
    }
    iA_ = static_cast<int>(iA), jA_ = static_cast<int>(jA);
    iB_ = static_cast<int>(iB), jB_ = static_cast<int>(jB);
    iC_ = static_cast<int>(iC), jC_ = static_cast<int>(jC);
    feedback_ = static_cast<std::uint8_t>(f);
}

std::uint8_t Cipher::NextKeyByte(std::uint8_t feedback) {
    // The key is the ciphertext of a zero byte after the given feedback.
    const std::uint8_t kept = feedback_;
    feedback_ = feedback;
    std::uint8_t key = 0;
    EncryptBlock(&key, 1);
    feedback_ = kept;
    return key;
}

std::uint8_t Cipher::EncryptByte(std::uint8_t plain) {
    EncryptBlock(&plain, 1);
    return plain;
}

std::uint8_t Cipher::DecryptByte(std::uint8_t cipher) {
    const std::uint8_t plain = cipher ^ NextKeyByte(feedback_);
    feedback_ = cipher;
    return plain;
}

// In decryption every byte's feedback is already known, so the three stages run as passes of
// their own, each carrying only its own j from byte to byte: stage A over the ciphertext gives
// its outputs, B over A's gives its own and the sum of both, C over B's decrypts with the sum.
// Each pass is bound by the latency of its own chain, so passes over different blocks in one
// loop overlap on the processor.
struct Cipher::Runs {
    const std::uint8_t* dataA; // A: ciphertext in, A's outputs out
    std::uint8_t* outA;
    const std::uint8_t* inB; // B: A's outputs in, B's outputs and the sums out
    std::uint8_t* outB;
    std::uint8_t* sumB;
    std::uint8_t* dataC; // C: decrypted in place with B's outputs and the sums
    const std::uint8_t* inC;
    const std::uint8_t* sumC;
};

template <bool kRunA, bool kRunB, bool kRunC> void Cipher::Run(const Runs& runs, std::size_t size) {
    std::uint16_t* const A = Entries(permA_);
    std::uint16_t* const B = Entries(permB_);
    std::uint16_t* const C = Entries(permC_);
    Index iA = static_cast<Index>(iA_), jA = static_cast<Index>(jA_), f = feedback_;
    Index iB = static_cast<Index>(iB_), jB = static_cast<Index>(jB_);
    Index iC = static_cast<Index>(iC_), jC = static_cast<Index>(jC_);
    // In locals: the stores through byte pointers could otherwise change them, as far as the
    // compiler knows, and it would read them again for every byte.
    const std::uint8_t* const dataA = runs.dataA;
    std::uint8_t* const outA = runs.outA;
    const std::uint8_t* const inB = runs.inB;
    std::uint8_t* const outB = runs.outB;
    std::uint8_t* const sumB = runs.sumB;
    std::uint8_t* const dataC = runs.dataC;
    const std::uint8_t* const inC = runs.inC;
    const std::uint8_t* const sumC = runs.sumC;
    for (std::size_t k = 0; k < size; ++k) {
        if constexpr (kRunA) {
            outA[k] = static_cast<std::uint8_t>(Step<kA, 256, 1>(A, iA, jA, f));
            f = dataA[k];
        }
        if constexpr (kRunB) {
            const Index b = Step<kB, 256, 1>(B, iB, jB, inB[k]);
            outB[k] = static_cast<std::uint8_t>(b);
            sumB[k] = static_cast<std::uint8_t>(inB[k] + b);
        }
        if constexpr (kRunC) {
            const Index c = Step<kC, kB, 1>(C, iC, jC, inC[k]);
            dataC[k] ^= static_cast<std::uint8_t>(sumC[k] + c);
        }
    }
    if constexpr (kRunA) iA_ = static_cast<int>(iA), jA_ = static_cast<int>(jA);
    if constexpr (kRunA) feedback_ = static_cast<std::uint8_t>(f);
    if constexpr (kRunB) iB_ = static_cast<int>(iB), jB_ = static_cast<int>(jB);
    if constexpr (kRunC) iC_ = static_cast<int>(iC), jC_ = static_cast<int>(jC);
}

void Cipher::DecryptFirstHalf(const std::uint8_t* data, std::size_t size, std::uint8_t* partB,
                              std::uint8_t* partSum) {
    // Stage A runs one block ahead of stage B, the two in one loop.
    std::uint8_t outA[2][kBlock];
    const std::size_t blocks = (size + kBlock - 1) / kBlock;
    for (std::size_t k = 0; k <= blocks; ++k) {
        const std::size_t at = k * kBlock, before = k > 0 ? at - kBlock : 0;
        const std::size_t n = k < blocks ? std::min(kBlock, size - at) : 0; // A: block k
        const std::size_t m = k > 0 ? std::min(kBlock, size - before) : 0;  // B: block k - 1
        const std::size_t both = std::min(n, m);
        const Runs runs{data + at,        outA[k & 1], outA[(k + 1) & 1], partB + before,
                        partSum + before, nullptr,     nullptr,           nullptr};
        Run<true, true, false>(runs, both);
        const Runs rest{runs.dataA + both, runs.outA + both, runs.inB + both, runs.outB + both,
                        runs.sumB + both,  nullptr,          nullptr,         nullptr};
        if (n > both) Run<true, false, false>(rest, n - both);
        if (m > both) Run<false, true, false>(rest, m - both);
    }
    ClearScratch(outA, sizeof outA);
    Replicate<true, true, false>(); // stage C is the other half's, maybe running meanwhile
}

void Cipher::DecryptSecondHalf(std::uint8_t* data, std::size_t size, const std::uint8_t* partB,
                               const std::uint8_t* partSum) {
    Run<false, false, true>({nullptr, nullptr, nullptr, nullptr, nullptr, data, partB, partSum},
                            size);
    Replicate<false, false, true>();
}

void Cipher::DecryptBlock(std::uint8_t* data, std::size_t size) {
    // Stage A runs on block k while B runs on block k - 1 and C on block k - 2, in one loop;
    // each stage's outputs for a block wait in one of two buffers.
    std::uint8_t outA[2][kBlock], outB[2][kBlock], sum[2][kBlock];
    const std::size_t blocks = (size + kBlock - 1) / kBlock;
    const auto length = [&](std::size_t k, std::size_t behind) -> std::size_t {
        if (k < behind || k - behind >= blocks) return 0;
        return std::min(kBlock, size - (k - behind) * kBlock);
    };
    for (std::size_t k = 0; k < blocks + 2; ++k) {
        const std::size_t nA = length(k, 0), nB = length(k, 1), nC = length(k, 2);
        const std::size_t all = std::min({nA, nB, nC});
        const std::size_t p = k & 1, q = p ^ 1; // buffers of blocks k (and k - 2), and k - 1
        std::uint8_t* const blockA = data + std::min(k * kBlock, size);
        std::uint8_t* const blockC = data + (k >= 2 ? k - 2 : 0) * kBlock;
        const Runs runs{blockA, outA[p], outA[q], outB[q], sum[q], blockC, outB[p], sum[p]};
        Run<true, true, true>(runs, all);
        const Runs rest{runs.dataA + all, runs.outA + all,  runs.inB + all, runs.outB + all,
                        runs.sumB + all,  runs.dataC + all, runs.inC + all, runs.sumC + all};
        if (nA > all) Run<true, false, false>(rest, nA - all);
        if (nB > all) Run<false, true, false>(rest, nB - all);
        if (nC > all) Run<false, false, true>(rest, nC - all);
    }
    ClearScratch(outA, sizeof outA);
    ClearScratch(outB, sizeof outB);
    ClearScratch(sum, sizeof sum);
    Replicate<true, true, true>();
}

void Cipher::Wipe() noexcept {
    SecureWipe(permA_, sizeof permA_);
    SecureWipe(permB_, sizeof permB_);
    SecureWipe(permC_, sizeof permC_);
    iA_ = jA_ = iB_ = jB_ = iC_ = jC_ = 0;
    feedback_ = 0;
}

void DecryptBuffer(Cipher& cipher, Bytes& buffer) {
    cipher.DecryptBlock(buffer.data(), buffer.size());
}

} // namespace vw
