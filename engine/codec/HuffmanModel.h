// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The encoder's code, chosen from the byte counts of the whole input: the code tree, the codes
// it gives, the stream's head (identification, checksum, length, symbol
// table and code bits) and the coding of data bytes. The buffer-level encoder and the file
// writer, which reads its source twice, share it.
#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/codec/HuffmanBits.h"
#include "engine/io/Bytes.h"

namespace vw::huffman {

// Counts byte values with four tables, so that runs of one value do not wait on themselves.
class ByteCounter {
  public:
    void Add(const std::uint8_t* p, std::size_t size) {
        std::size_t i = 0;
        for (; i + 4 <= size; i += 4) {
            ++tables_[0][p[i]];
            ++tables_[1][p[i + 1]];
            ++tables_[2][p[i + 2]];
            ++tables_[3][p[i + 3]];
        }
        for (; i < size; ++i)
            ++tables_[0][p[i]];
    }
    std::int64_t Count(int value) const {
        return std::int64_t{tables_[0][value]} + tables_[1][value] + tables_[2][value] +
               tables_[3][value];
    }
    // The XOR of every byte counted: the values that came an odd number of times.
    std::uint8_t Xor() const {
        std::uint8_t x = 0;
        for (int v = 0; v < 256; ++v)
            if (Count(v) & 1) x ^= static_cast<std::uint8_t>(v);
        return x;
    }

  private:
    std::uint32_t tables_[4][256] = {};
};

// A code: its bits, first bit in bit 0 of word 0.
struct SymbolCode {
    unsigned bitCount = 0;
    std::array<std::uint64_t, 4> bits{};

    bool Bit(unsigned k) const { return (bits[k / 64] >> (k % 64)) & 1; }
    SymbolCode With(unsigned bit) const;
};

class EncoderPlan {
  public:
    // counts: of all `inputSize` bytes (at least one). Raises EngineError on an overflow.
    EncoderPlan(const ByteCounter& counts, std::size_t inputSize);

    // True when the data is stored unchanged ("HE0"): coding would not make it smaller.
    bool Stored() const { return stored_; }
    std::size_t InputSize() const { return inputSize_; }
    // The whole stream's length: head plus data bits, or the input plus 4 when stored.
    std::size_t StreamSize() const;
    // "HE0" and a carriage return, or the coded stream's head up to its last code-bit byte.
    Bytes Head(std::uint8_t checksum) const;
    // Most output bytes that coding `count` input bytes can complete, plus the bit writer's
    // eight bytes of room.
    std::size_t MaxOutputFor(std::size_t count) const { return count * maxLength_ / 8 + 16; }
    // Writes the codes of in[0, count).
    void Code(BitWriter& writer, const std::uint8_t* in, std::size_t count) const;

  private:
    std::size_t inputSize_;
    bool stored_ = false;
    int leafCount_ = 0;
    unsigned maxLength_ = 0;
    std::uint64_t dataBits_ = 0;
    std::uint64_t tableBits_ = 0;
    SymbolCode codes_[256];
    std::uint64_t bits_[256] = {};
    std::uint8_t lengths_[256] = {};
};

} // namespace vw::huffman
