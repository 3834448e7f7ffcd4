// HuffmanDecode: reads an "HE0" or "HE3" stream back into the bytes it was made from. Every
// field of a coded stream is checked before it is used, and the code table must describe a
// complete prefix code, so a damaged or forged stream is refused with a description instead of
// being walked blindly.
#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "engine/Huffman.h"
#include "engine/HuffmanBits.h"
#include "engine/HuffmanOutput.h"
#include "engine/HuffmanStages.h"
#include "engine/JobState.h"

namespace vw {
namespace {

using huffman::LoadLE64;

constexpr int kMaxNodes = 512;
constexpr unsigned kTableBits = 11;
constexpr std::uint32_t kTableMask = (1u << kTableBits) - 1;
// A table entry: symbol in bits 0-7, code length in bits 8-15; for a code longer than the
// table, kLongCode and the tree node reached after kTableBits bits in bits 16-31.
constexpr std::uint32_t kLongCode = 1u << 15;
// A pair entry: the one or two codes that end within the next kTableBits bits: first symbol in
// bits 0-7, second in bits 8-15, their total length in bits 16-23, their number in bits 24-31;
// 0 when the first code is longer than the table.
constexpr std::uint32_t kNoPair = 0;

[[noreturn]] void Refuse(const std::string& what) {
    throw EngineError("The HE3 stream is damaged: " + what);
}

struct Header {
    std::uint8_t checksum = 0;
    std::int32_t length = 0;
    int symbolCount = 0;
    std::uint8_t codeLength[256] = {};
    std::size_t codeStart = 0; // first byte of the code bits
    std::size_t dataStart = 0; // first byte of the data bits
    unsigned shortest = 255;
};

Header ReadHeader(const std::uint8_t* s, std::size_t n) {
    Header h;
    if (n < 11) Refuse("the header is shorter than 11 bytes");
    h.checksum = s[4];
    h.length = static_cast<std::int32_t>(static_cast<std::uint32_t>(s[5]) | s[6] << 8 | s[7] << 16 |
                                         static_cast<std::uint32_t>(s[8]) << 24);
    h.symbolCount = static_cast<std::int16_t>(s[9] | s[10] << 8);
    if (h.length <= 0) Refuse("the uncompressed length is not positive");
    if (h.symbolCount < 2 || h.symbolCount > 256) {
        Refuse("the symbol count " + std::to_string(h.symbolCount) + " is outside 2 to 256");
    }
    h.codeStart = 11 + 2 * static_cast<std::size_t>(h.symbolCount);
    if (h.codeStart > n) Refuse("the symbol table runs past the end of the stream");
    int previous = -1;
    std::size_t totalBits = 0;
    for (int k = 0; k < h.symbolCount; ++k) {
        const int value = s[11 + 2 * k];
        const unsigned bits = s[12 + 2 * k];
        if (bits == 0) Refuse("the code length of byte value " + std::to_string(value) + " is 0");
        if (value <= previous) Refuse("the symbol table is not in strictly ascending order");
        previous = value;
        h.codeLength[value] = static_cast<std::uint8_t>(bits);
        totalBits += bits;
        h.shortest = std::min(h.shortest, bits);
    }
    const std::size_t codeBytes = (totalBits + 7) / 8;
    if (codeBytes > n - h.codeStart) Refuse("the code bits run past the end of the stream");
    h.dataStart = h.codeStart + codeBytes;
    return h;
}

// The code tree rebuilt from the stored codes, and the lookup table over its first levels.
class CodeTree {
  public:
    CodeTree(const std::uint8_t* s, const Header& h) {
        std::fill(std::begin(zero_), std::end(zero_), -1);
        std::fill(std::begin(one_), std::end(one_), -1);
        std::fill(std::begin(symbol_), std::end(symbol_), -1);
        std::size_t bit = h.codeStart * 8;
        for (int value = 0; value < 256; ++value) {
            const unsigned length = h.codeLength[value];
            if (length == 0) continue;
            int node = 0;
            for (unsigned k = 0; k < length; ++k, ++bit) {
                if (symbol_[node] >= 0) {
                    Refuse("the code of byte value " + std::to_string(value) +
                           " continues past the code of byte value " +
                           std::to_string(symbol_[node]) + " (not a prefix code)");
                }
                std::int16_t& child = ((s[bit >> 3] >> (bit & 7)) & 1) ? one_[node] : zero_[node];
                if (child < 0) {
                    if (next_ == kMaxNodes) Refuse("the code table needs more than 512 tree nodes");
                    child = static_cast<std::int16_t>(next_++);
                }
                node = child;
            }
            if (symbol_[node] >= 0 || zero_[node] >= 0 || one_[node] >= 0) {
                Refuse("the code of byte value " + std::to_string(value) +
                       " is the same as or a prefix of another code (not a prefix code)");
            }
            symbol_[node] = static_cast<std::int16_t>(value);
        }
        // A prefix code whose every inner node has both children has a Kraft sum of exactly 1.
        for (int node = 0; node < next_; ++node) {
            if (symbol_[node] < 0 && (zero_[node] < 0 || one_[node] < 0)) {
                Refuse("the code table is not a complete prefix code (Kraft sum below 1)");
            }
        }
        for (std::uint32_t index = 0; index <= kTableMask; ++index)
            table_[index] = Lookup(index);
        for (std::uint32_t index = 0; index <= kTableMask; ++index)
            pairs_[index] = PairLookup(index);
    }

    std::uint32_t Entry(std::uint64_t bits) const { return table_[bits & kTableMask]; }
    const std::uint32_t* Table() const { return table_; }
    const std::uint32_t* Pairs() const { return pairs_; }
    // The node reached from node by one bit, refusing a walk into a missing child.
    int Child(int node, unsigned bit) const {
        const int child = bit ? one_[node] : zero_[node];
        if (child < 0) Refuse("the data bits lead to a missing tree node");
        return child;
    }
    int Symbol(int node) const { return symbol_[node]; }

  private:
    std::uint32_t Lookup(std::uint32_t index) const {
        int node = 0;
        for (unsigned depth = 1; depth <= kTableBits; ++depth) {
            node = Child(node, (index >> (depth - 1)) & 1);
            if (symbol_[node] >= 0) return static_cast<std::uint32_t>(symbol_[node]) | depth << 8;
        }
        return kLongCode | kTableBits << 8 | static_cast<std::uint32_t>(node) << 16;
    }

    std::uint32_t PairLookup(std::uint32_t index) const {
        const std::uint32_t first = table_[index];
        if (first & kLongCode) return kNoPair;
        const std::uint32_t length = (first >> 8) & 255;
        const std::uint32_t rest = index >> length;
        int node = 0;
        for (std::uint32_t depth = 1; length + depth <= kTableBits; ++depth) {
            node = Child(node, (rest >> (depth - 1)) & 1);
            if (symbol_[node] >= 0) {
                return (first & 255) | static_cast<std::uint32_t>(symbol_[node]) << 8 |
                       (length + depth) << 16 | 2u << 24;
            }
        }
        return (first & 255) | length << 16 | 1u << 24;
    }

    std::int16_t zero_[kMaxNodes];
    std::int16_t one_[kMaxNodes];
    std::int16_t symbol_[kMaxNodes];
    int next_ = 1;
    std::uint32_t table_[kTableMask + 1];
    std::uint32_t pairs_[kTableMask + 1];
};

// Walks the data bits of a stream. Decoding runs up to a limit (the end of a yield interval or
// of the stream); a code that would end past the limit is left for the next call.
class DataDecoder {
  public:
    DataDecoder(const std::uint8_t* s, std::size_t n, const Header& h, const CodeTree& tree,
                std::uint8_t* out, std::size_t capacity)
        : s_(s), endBits_(n * 8), tree_(tree), out_(out), capacity_(capacity),
          bit_(h.dataStart * 8) {}

    std::size_t Produced() const { return produced_; }

    void DecodeUntil(std::uint64_t limit) {
        // Four pair lookups (at most 44 bits, up to eight codes) from one 57-bit window. The
        // loop works on local copies: stores through the byte pointer could otherwise alias
        // every member.
        const std::uint8_t* const s = s_;
        const std::uint32_t* const pairs = tree_.Pairs();
        std::uint8_t* out = out_ + produced_;
        std::uint8_t* const stop = out_ + capacity_;
        std::uint64_t bit = bit_;
        while (stop - out >= 8 && bit + 64 <= limit) {
            std::uint64_t window = LoadLE64(s + (bit >> 3)) >> (bit & 7);
            int k = 0;
            for (; k < 4; ++k) {
                const std::uint32_t e = pairs[window & kTableMask];
                if (e == kNoPair) break;
                const unsigned length = (e >> 16) & 255;
                const auto two = static_cast<std::uint16_t>(e);
                std::memcpy(out, &two, 2); // the second byte is rewritten when there is one code
                out += e >> 24;
                window >>= length;
                bit += length;
            }
            if (k < 4) {
                produced_ = static_cast<std::size_t>(out - out_);
                bit_ = bit;
                if (!DecodeOne(limit)) return;
                out = out_ + produced_;
                bit = bit_;
            }
        }
        produced_ = static_cast<std::size_t>(out - out_);
        bit_ = bit;
        while (produced_ < capacity_ && DecodeOne(limit)) {
        }
    }

  private:
    // Decodes one code that ends at or before limit; false (nothing consumed) when it does not.
    bool DecodeOne(std::uint64_t limit) {
        const std::uint32_t e = tree_.Entry(Peek());
        const std::uint64_t room = limit - bit_;
        if (!(e & kLongCode)) {
            const unsigned length = (e >> 8) & 255;
            if (length > room) return false;
            out_[produced_++] = static_cast<std::uint8_t>(e);
            bit_ += length;
            return true;
        }
        if (room <= kTableBits) return false;
        int node = static_cast<int>(e >> 16);
        for (std::uint64_t bit = bit_ + kTableBits; bit < limit; ++bit) {
            node = tree_.Child(node, (s_[bit >> 3] >> (bit & 7)) & 1);
            if (tree_.Symbol(node) >= 0) {
                out_[produced_++] = static_cast<std::uint8_t>(tree_.Symbol(node));
                bit_ = bit + 1;
                return true;
            }
        }
        return false;
    }

    // The next bits of the stream, zeros past its end.
    std::uint64_t Peek() const {
        const std::size_t at = bit_ >> 3;
        std::uint64_t word;
        if (bit_ + 64 <= endBits_) {
            word = LoadLE64(s_ + at);
        } else {
            std::uint8_t tail[8] = {};
            std::memcpy(tail, s_ + at, endBits_ / 8 - at);
            word = LoadLE64(tail);
        }
        return word >> (bit_ & 7);
    }

    const std::uint8_t* s_;
    std::uint64_t endBits_;
    const CodeTree& tree_;
    std::uint8_t* out_;
    std::size_t capacity_;
    std::size_t produced_ = 0;
    std::uint64_t bit_;
};

void DecodeCoded(Bytes& buffer, std::size_t n) {
    const std::uint8_t* s = buffer.data();
    const Header header = ReadHeader(s, n);
    const CodeTree tree(s, header);

    // A forged length must not reserve memory the data bits could never fill.
    const std::size_t dataBytes = n - header.dataStart;
    const std::size_t capacity = std::min<std::size_t>(static_cast<std::size_t>(header.length),
                                                       dataBytes * 8 / header.shortest);
    Bytes out = huffman::NewOutputBuffer(capacity);
    DataDecoder decoder(s, n, header, tree, out.data(), capacity);
    const double total = static_cast<double>(n);
    const auto wanted = static_cast<std::size_t>(header.length);
    constexpr std::size_t kInterval = 10000;
    // Yield after every stream byte at a position (counted from 1) that is a multiple of the
    // interval, unless the last byte wanted was decoded before that byte's end.
    std::size_t position = (header.dataStart / kInterval + 1) * kInterval;
    for (;; position += kInterval) {
        const bool yields = position <= n;
        decoder.DecodeUntil(yields ? std::uint64_t{position} * 8 : std::uint64_t{n} * 8);
        if (decoder.Produced() == wanted || !yields) break;
        if (!YieldPoint(static_cast<double>(position) / total * 50 + 45)) return;
    }

    const std::size_t produced = decoder.Produced();
    const double count = static_cast<double>(produced);
    std::uint8_t checksum = 0;
    if (!huffman::RunWithYields(
            produced, kInterval,
            [&](std::size_t from, std::size_t to) {
                checksum ^= huffman::XorOf(out.data() + from, to - from);
            },
            [&](std::size_t i) { return static_cast<double>(i) / count * 50 + 5 + 45; })) {
        return;
    }
    // A stream that ends before its stated length is as wrong as a differing checksum, even
    // when the XOR of the shorter output happens to agree.
    if (checksum != header.checksum || produced != wanted) JobStatus = kStatusChecksum;
    out.resize(produced);
    buffer.swap(out);
}

} // namespace

void HuffmanDecode(Bytes& buffer, std::int32_t byteCount) {
    if (byteCount < 0 || static_cast<std::size_t>(byteCount) > buffer.size()) {
        throw EngineError("Huffman decoder: byte count outside the buffer");
    }
    const auto n = static_cast<std::size_t>(byteCount);
    const std::uint8_t* s = buffer.data();
    if (n < 4 || s[0] != 'H' || s[1] != 'E' || s[3] != 13)
        throw EngineError(kIdentificationFailure);
    if (s[2] == '0') {
        buffer.resize(n);
        buffer.erase(buffer.begin(), buffer.begin() + 4);
        return;
    }
    if (s[2] != '3') throw EngineError(kIdentificationFailure);
    try {
        DecodeCoded(buffer, n);
    } catch (const std::bad_alloc&) {
        throw EngineError("Out of memory while decompressing");
    }
}

} // namespace vw
