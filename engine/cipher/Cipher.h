// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The byte-stream cipher: three chained permutation tables of sizes 463, 251 and 181 with
// ciphertext feedback. Key texts are single-byte code-page strings. docs/format.md ("The
// cipher") describes it completely; this is its one implementation.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/io/Bytes.h"

namespace vw {

class Cipher {
  public:
    static constexpr int kSizeA = 463;
    static constexpr int kSizeB = 251;
    static constexpr int kSizeC = 181;
    // Only the first bytes of each key text shape the state: a longer password is as good as
    // its first kSizeA bytes (a longer private code as its first 23).
    static constexpr std::size_t kKeyedPasswordBytes = kSizeA;

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
    ~Cipher() { Wipe(); }

    // Read access for tests.
    const std::int16_t* PermA() const { return permA_; }
    const std::int16_t* PermB() const { return permB_; }
    const std::int16_t* PermC() const { return permC_; }
    int IndexSum() const { return iA_ + jA_ + iB_ + jB_ + iC_ + jC_; }
    std::uint8_t Feedback() const { return feedback_; }

  private:
    // Each table is kept in consecutive copies (entry k at k, k + size, k + 2 size) so that the
    // encrypting step can read at an index that is the sum of a reduced index and a byte, or of
    // two entries, without reducing it first. The first copy is the permutation itself.
    static constexpr int kCopiesA = 2; // indices up to 462 + 255 and 462 + 462
    static constexpr int kCopiesB = 3; // indices up to 250 + 255
    static constexpr int kCopiesC = 3; // indices up to 180 + 250
    // Stages A, B and C over runs of bytes, any of them in one loop (see Cipher.cpp).
    struct Runs;
    template <bool kA, bool kB, bool kC> void Run(const Runs& runs, std::size_t size);
    // Brings the other copies of the tables named up to date with the first.
    template <bool kA, bool kB, bool kC> void Replicate() noexcept;

    // What each half of a split decryption changes lies apart from the other's, in cache lines
    // of its own.
    alignas(64) std::int16_t permA_[kSizeA * kCopiesA] = {};
    std::int16_t permB_[kSizeB * kCopiesB] = {};
    int iA_ = 0, jA_ = 0, iB_ = 0, jB_ = 0;
    std::uint8_t feedback_ = 0;
    alignas(64) std::int16_t permC_[kSizeC * kCopiesC] = {};
    int iC_ = 0, jC_ = 0;
};

// Decrypts the buffer in place with the cipher as it stands.
void DecryptBuffer(Cipher& cipher, Bytes& buffer);

} // namespace vw
