// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The byte-stream cipher: three chained permutation tables of sizes 463, 251 and 181 with
// ciphertext feedback. Key texts are single-byte code-page strings.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/Bytes.h"

namespace vw {

class Cipher {
  public:
    static constexpr int kSizeA = 463;
    static constexpr int kSizeB = 251;
    static constexpr int kSizeC = 181;
    // Only the first bytes of each key text shape the state: a longer password is as good as
    // its first kSizeA bytes (a longer private code as its first 23).
    static constexpr std::size_t kKeyedPasswordBytes = kSizeA;
    // Passes of the cipher over a whole buffer or file yield after byte 0 and after every
    // multiple of this many bytes.
    static constexpr std::size_t kYieldInterval = 5000;

    // Sets the whole state from the password (at least one byte) and the private code.
    void Init(std::string_view password, std::string_view privateCode);
    std::uint8_t NextKeyByte(std::uint8_t feedback);
    std::uint8_t EncryptByte(std::uint8_t plain);
    std::uint8_t DecryptByte(std::uint8_t cipher);
    // The same as EncryptByte/DecryptByte over a run of bytes, in place.
    void EncryptBlock(std::uint8_t* data, std::size_t size);
    void DecryptBlock(std::uint8_t* data, std::size_t size);
    // DecryptBlock in two halves that may run on two threads at once, each half given every
    // byte in order: the first runs stages A and B over the ciphertext and leaves two key parts
    // per byte (B's output, and the sum of A's and B's); the second runs stage C and decrypts
    // in place. The halves share no part of the state.
    void DecryptFirstHalf(const std::uint8_t* data, std::size_t size, std::uint8_t* partB,
                          std::uint8_t* partSum);
    void DecryptSecondHalf(std::uint8_t* data, std::size_t size, const std::uint8_t* partB,
                           const std::uint8_t* partSum);
    // Overwrites the whole state.
    void Wipe() noexcept;

    // Read access for tests.
    const std::int16_t* PermA() const { return permA_; }
    const std::int16_t* PermB() const { return permB_; }
    const std::int16_t* PermC() const { return permC_; }
    int IndexSum() const { return iA_ + jA_ + iB_ + jB_ + iC_ + jC_; }
    std::uint8_t Feedback() const { return feedback_; }

  private:
    // Each table is kept in several consecutive copies (entry k at k, k + size, k + 2 size) so
    // that an index that is the sum of a reduced index and one byte, or of two entries, reads
    // the right entry without being reduced first. The first copy is the permutation itself.
    static constexpr int kCopiesA = 2; // indices up to 462 + 255 and 462 + 462
    static constexpr int kCopiesB = 3; // indices up to 250 + 255
    static constexpr int kCopiesC = 3; // indices up to 180 + 250
    void Replicate() noexcept;
    // Copies the first copy of a table over the others.
    static void CopyFirst(std::int16_t* table, int size, int copies) noexcept;
    // The three stages of decryption, each a pass over a run of bytes.
    void StageA(const std::uint8_t* data, std::size_t size, std::uint8_t* outA);
    void StageB(const std::uint8_t* outA, std::size_t size, std::uint8_t* outB, std::uint8_t* sum);
    void StageC(std::uint8_t* data, std::size_t size, const std::uint8_t* outB,
                const std::uint8_t* sum);
    // Stage A over one run and stage B over another, as many bytes each, in one loop: each
    // stage is bound by the latency of its own chain, so the processor overlaps the two.
    void StagesAB(const std::uint8_t* data, std::size_t size, std::uint8_t* outA,
                  const std::uint8_t* inB, std::uint8_t* outB, std::uint8_t* sum);
    // The three stages, each over its own run, in one loop.
    struct Runs {
        const std::uint8_t* dataA; // A: ciphertext in, A's output out
        std::uint8_t* outA;
        const std::uint8_t* inB; // B: A's output in, B's output and the sum out
        std::uint8_t* outB;
        std::uint8_t* sumB;
        std::uint8_t* dataC; // C: decrypted in place with B's output and the sum
        const std::uint8_t* inC;
        const std::uint8_t* sumC;
    };
    void StagesABC(const Runs& runs, std::size_t size);

    // What each half of a split decryption changes lies apart from the other's, in cache lines
    // of its own.
    alignas(64) std::int16_t permA_[kSizeA * kCopiesA] = {};
    std::int16_t permB_[kSizeB * kCopiesB] = {};
    int iA_ = 0, jA_ = 0, iB_ = 0, jB_ = 0;
    std::uint8_t feedback_ = 0;
    alignas(64) std::int16_t permC_[kSizeC * kCopiesC] = {};
    int iC_ = 0, jC_ = 0;
};

// The program's single cipher state and its procedures.
Cipher& TheCipher();
void InitCipher(std::string_view password, std::string_view privateCode);
std::uint8_t NextKeyByte(std::uint8_t feedback);
std::uint8_t EncryptByte(std::uint8_t plain);
std::uint8_t DecryptByte(std::uint8_t cipher);
// Decrypts the buffer in place, passing a yield point (YieldPoint) after byte 0 and every
// multiple of Cipher::kYieldInterval with the percentage i / last * 50; stops early, leaving the
// rest as it was, when cancelled.
void DecryptBuffer(Bytes& buffer);

} // namespace vw
