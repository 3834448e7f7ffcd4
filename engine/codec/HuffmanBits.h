// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Bit packing shared by the codec: bits go into a byte from its least significant end, so a
// run of stream bytes read as a little-endian word holds the bits in stream order.
#include <cstdint>
#include <cstring>

namespace vw::huffman {

inline std::uint64_t LoadLE64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v; // the engine runs on little-endian machines only
}

// Writes codes of up to 56 bits at a time. Every Put stores a whole 64-bit word, so the output
// needs 8 bytes of room past the last byte written.
class BitWriter {
  public:
    explicit BitWriter(std::uint8_t* out) : out_(out) {}

    void Put(std::uint64_t bits, unsigned count) {
        acc_ |= bits << used_;
        used_ += count;
        Flush();
    }
    // Two codes with one store; each code at most 28 bits.
    void Put2(std::uint64_t bits1, unsigned count1, std::uint64_t bits2, unsigned count2) {
        acc_ |= bits1 << used_;
        used_ += count1;
        acc_ |= bits2 << used_;
        used_ += count2;
        Flush();
    }
    // Codes with one store, their lengths together at most 56 bits: the first added, then the
    // rest with the next call, and so on; Store ends the group.
    void Add(std::uint64_t bits, unsigned count) {
        acc_ |= bits << used_;
        used_ += count;
    }
    void Store() { Flush(); }
    // Byte just past the last byte holding any bit; the partly filled byte is already stored.
    std::uint8_t* End() const { return out_ + (used_ + 7) / 8; }
    // The first byte not yet complete: everything before it is final.
    std::uint8_t* Position() const { return out_; }
    // Continues at out (with eight bytes of room), carrying the partly filled byte there.
    void MoveTo(std::uint8_t* out) {
        out_ = out;
        std::memcpy(out_, &acc_, sizeof acc_);
    }

  private:
    void Flush() {
        std::memcpy(out_, &acc_, sizeof acc_);
        out_ += used_ >> 3;
        acc_ >>= used_ & 56;
        used_ &= 7;
    }

    std::uint8_t* out_;
    std::uint64_t acc_ = 0;
    unsigned used_ = 0;
};

} // namespace vw::huffman
