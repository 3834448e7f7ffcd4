// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// HuffmanDecode and the piecewise decoder it runs on: an "HE0" or "HE3" stream back into the
// bytes it was made from. Every field of a coded stream is checked before it is used, and the
// code table must describe a complete prefix code, so a damaged or forged stream is refused
// with a description instead of being walked blindly.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/codec/Huffman.h"
#include "engine/codec/HuffmanBits.h"
#include "engine/codec/HuffmanFormat.h"
#include "engine/codec/HuffmanOutput.h"
#include "engine/codec/HuffmanStreamDecoder.h"

namespace vw {
namespace huffman {
namespace {

constexpr int kMaxNodes = 512;
// The lookup tables are indexed by the next kTableBits bits at most: by as many bits as the
// longest code has, when it is shorter, so that the tables of a small code are small to build.
constexpr unsigned kTableBits = 12;
constexpr std::uint32_t kTableMask = (1u << kTableBits) - 1;
// A table entry: symbol in bits 0-7, code length in bits 8-15; for a code longer than the
// table, kLongCode and the tree node reached after the table's bits in bits 16-31.
constexpr std::uint32_t kLongCode = 1u << 15;
// A run entry: the codes, up to three, that end within the table's bits, so that short
// codes (text's) come several to a lookup: their symbols in bits 0-7, 8-15 and 16-23 (stored as
// four bytes, the fourth rewritten), their total length in bits 24-27, their number in bits
// 28-29; 0 when the first code is longer than the table.
constexpr unsigned kMostInRun = 3;
constexpr std::uint32_t kNoRun = 0;
// What a code cut by the end of an input piece can leave over: less than one longest code.
constexpr std::size_t kMaxTail = 40;

[[noreturn]] void Refuse(StreamFault how, std::int64_t value = 0, std::int64_t other = 0) {
    Raise({.fault = Fault::StreamDamaged, .value = value, .limit = other, .stream = how});
}

[[noreturn]] void Unidentified() {
    Raise({Fault::StreamNotIdentified});
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

// Reads the head of an "HE3" stream of n bytes from its first `have` bytes. Returns 0 when the
// head is complete, otherwise the number of bytes it needs (more than have).
std::size_t ReadHeader(const std::uint8_t* s, std::size_t have, std::size_t n, Header& h) {
    if (n < kHeadSize) Refuse(StreamFault::HeadShort);
    if (have < kHeadSize) return kHeadSize;
    h = Header{};
    h.checksum = s[kChecksumAt];
    const std::uint8_t* length = s + kLengthAt;
    h.length =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(length[0]) | length[1] << 8 |
                                  length[2] << 16 | static_cast<std::uint32_t>(length[3]) << 24);
    h.symbolCount = static_cast<std::int16_t>(s[kSymbolCountAt] | s[kSymbolCountAt + 1] << 8);
    if (h.length <= 0) Refuse(StreamFault::LengthNotPositive);
    // Two codes at least make a complete code; more pairs than byte values can repeat values.
    if (h.symbolCount < 2) Refuse(StreamFault::FewSymbols, h.symbolCount);
    h.codeStart = CodeBitsStart(static_cast<std::size_t>(h.symbolCount));
    if (h.codeStart > n) Refuse(StreamFault::TableOverrun);
    if (have < h.codeStart) return h.codeStart;
    // Pairs may come in any order; a later pair for a value overrides an earlier one, and a
    // length of 0 leaves the value without a code.
    for (const std::uint8_t* pair = s + kHeadSize; pair < s + h.codeStart; pair += kPairSize)
        h.codeLength[pair[0]] = pair[1];
    std::size_t totalBits = 0;
    for (const unsigned bits : h.codeLength) {
        totalBits += bits;
        if (bits > 0) h.shortest = std::min(h.shortest, bits);
    }
    const std::size_t codeBytes = (totalBits + 7) / 8;
    if (codeBytes > n - h.codeStart) Refuse(StreamFault::CodeBitsOverrun);
    h.dataStart = h.codeStart + codeBytes;
    return have < h.dataStart ? h.dataStart : 0;
}

// The code tree rebuilt from the stored codes, and the lookup table over its first levels.
class CodeTree {
  public:
    CodeTree(const std::uint8_t* s, const Header& h) {
        // Every entry -1 (all bits set): no child, no symbol.
        std::memset(zero_, 0xFF, sizeof zero_);
        std::memset(one_, 0xFF, sizeof one_);
        std::memset(symbol_, 0xFF, sizeof symbol_);
        std::size_t bit = h.codeStart * 8;
        for (int value = 0; value < 256; ++value) {
            const unsigned length = h.codeLength[value];
            if (length == 0) continue;
            int node = 0;
            for (unsigned k = 0; k < length; ++k, ++bit) {
                if (symbol_[node] >= 0) Refuse(StreamFault::CodeContinues, value, symbol_[node]);
                std::int16_t& child = ((s[bit >> 3] >> (bit & 7)) & 1) ? one_[node] : zero_[node];
                if (child < 0) {
                    if (next_ == kMaxNodes) Refuse(StreamFault::TooManyNodes);
                    child = static_cast<std::int16_t>(next_++);
                }
                node = child;
            }
            if (symbol_[node] >= 0 || zero_[node] >= 0 || one_[node] >= 0)
                Refuse(StreamFault::CodeRepeated, value);
            symbol_[node] = static_cast<std::int16_t>(value);
        }
        // A prefix code whose every inner node has both children has a Kraft sum of exactly 1.
        for (int node = 0; node < next_; ++node) {
            if (symbol_[node] < 0 && (zero_[node] < 0 || one_[node] < 0))
                Refuse(StreamFault::CodeIncomplete);
        }
        unsigned longest = 0;
        for (const unsigned length : h.codeLength)
            longest = std::max(longest, length);
        bits_ = std::min(kTableBits, longest);
        mask_ = (1u << bits_) - 1;
        tables_ = std::make_unique_for_overwrite<std::uint32_t[]>(2 * (mask_ + 1));
        table_ = tables_.get();
        runs_ = table_ + mask_ + 1;
        // The code is complete: every entry of the table is filled exactly once.
        FillTable(0, 0, 0);
        for (std::uint32_t index = 0; index <= mask_; ++index)
            runs_[index] = RunLookup(index);
    }

    // The bits the tables are indexed by, and their mask.
    unsigned Bits() const { return bits_; }
    std::uint32_t Mask() const { return mask_; }
    std::uint32_t Entry(std::uint64_t bits) const { return table_[bits & mask_]; }
    const std::uint32_t* Table() const { return table_; }
    const std::uint32_t* Runs() const { return runs_; }
    // The node reached from node by one bit, refusing a walk into a missing child.
    int Child(int node, unsigned bit) const {
        const int child = bit ? one_[node] : zero_[node];
        if (child < 0) Refuse(StreamFault::MissingNode);
        return child;
    }
    int Symbol(int node) const { return symbol_[node]; }

  private:
    // Fills the entries of the table whose first `depth` bits (`bits`) lead to node: every
    // entry below a code of the table's bits or fewer names its symbol; the entry of a node
    // reached after the table's bits names the node, where the walk of a longer code goes on.
    // One pass over the top of the tree, instead of a walk from the root for each entry.
    void FillTable(int node, unsigned depth, std::uint32_t bits) {
        if (symbol_[node] >= 0 || depth == bits_) {
            const std::uint32_t entry =
                symbol_[node] >= 0
                    ? static_cast<std::uint32_t>(symbol_[node]) | depth << 8
                    : kLongCode | bits_ << 8 | static_cast<std::uint32_t>(node) << 16;
            for (std::uint32_t above = 0; above >> (bits_ - depth) == 0; ++above)
                table_[bits | above << depth] = entry;
            return;
        }
        FillTable(Child(node, 0), depth + 1, bits);
        FillTable(Child(node, 1), depth + 1, bits | 1u << depth);
    }

    // The codes that end within the table's bits at index, each read from the single table at
    // the bits after the one before; a code is taken only when all its bits are index's own.
    std::uint32_t RunLookup(std::uint32_t index) const {
        std::uint32_t symbols = 0, used = 0, count = 0;
        while (count < kMostInRun) {
            const std::uint32_t entry = table_[index >> used];
            const std::uint32_t length = (entry >> 8) & 255;
            if ((entry & kLongCode) || used + length > bits_) break;
            symbols |= (entry & 255) << (8 * count);
            used += length;
            ++count;
        }
        return count == 0 ? kNoRun : symbols | used << 24 | count << 28;
    }

    std::int16_t zero_[kMaxNodes];
    std::int16_t one_[kMaxNodes];
    std::int16_t symbol_[kMaxNodes];
    int next_ = 1;
    unsigned bits_ = kTableBits;
    std::uint32_t mask_ = kTableMask;
    std::unique_ptr<std::uint32_t[]> tables_; // the table, then the run table
    std::uint32_t* table_ = nullptr;
    std::uint32_t* runs_ = nullptr;
};

} // namespace

class StreamDecoder::Impl {
  public:
    explicit Impl(std::size_t n) : n_(n) {}

    void SetInput(std::uint8_t* data, std::size_t size, bool roomInFront) {
        in_ = data;
        inSize_ = size;
        if (phase_ != Phase::Data) return;
        // Data bits: the tail left by the last piece goes in front of this one.
        if (tailSize_ == 0) {
            s_ = data;
        } else if (roomInFront) {
            std::uint8_t* front = data - tailSize_;
            std::memcpy(front, tail_, tailSize_);
            s_ = front;
        } else {
            joined_.assign(tail_, tail_ + tailSize_);
            joined_.insert(joined_.end(), data, data + size);
            s_ = joined_.data();
        }
        windowSize_ = tailSize_ + size;
        tailSize_ = 0;
        in_ = nullptr;
        inSize_ = 0;
    }

    void SetOutput(std::uint8_t* out, std::size_t capacity) {
        producedBefore_ += used_;
        out_ = out;
        used_ = 0;
        closed_ = capacity == 0;
        room_ = capacity;
    }

    StreamDecoder::Step Run() {
        switch (phase_) {
        case Phase::Identify:
        case Phase::Head:
            if (!ReadHead()) return Step::NeedInput;
            if (phase_ == Phase::Stored) return RunStored();
            return RunData();
        case Phase::Stored:
            return RunStored();
        case Phase::Data:
            return RunData();
        }
        return Step::Finished;
    }

    std::size_t Used() const { return used_; }
    bool Stored() const { return phase_ == Phase::Stored; }
    std::uint8_t Checksum() const { return header_.checksum; }
    std::size_t Wanted() const { return wanted_; }
    std::size_t Produced() const { return producedBefore_ + used_; }
    std::size_t MaxOutput() const {
        if (phase_ == Phase::Stored) return wanted_;
        return std::min<std::size_t>(wanted_, (n_ - header_.dataStart) * 8 / header_.shortest);
    }

  private:
    enum class Phase { Identify, Head, Stored, Data };
    using Step = StreamDecoder::Step;

    // Takes bytes from the input into the head until `needed` are there.
    bool Gather(std::size_t needed) {
        const std::size_t take = std::min(needed - head_.size(), inSize_);
        head_.insert(head_.end(), in_, in_ + take);
        in_ += take;
        inSize_ -= take;
        return head_.size() == needed;
    }

    // False while more input is needed.
    bool ReadHead() {
        if (phase_ == Phase::Identify) {
            if (n_ < kIdSize) Unidentified();
            if (!Gather(kIdSize)) return false;
            const StreamForm form = IdentifyStream(head_.data(), head_.size());
            if (form == StreamForm::Unknown) Unidentified();
            if (form == StreamForm::Stored) {
                phase_ = Phase::Stored;
                wanted_ = n_ - kIdSize;
                consumed_ = kIdSize;
                return true;
            }
            phase_ = Phase::Head;
            // Room for the head at once: the head of most coded streams is under a kilobyte.
            head_.reserve(std::min<std::size_t>(n_, 1024));
        }
        for (;;) {
            const std::size_t needed = ReadHeader(head_.data(), head_.size(), n_, header_);
            if (needed == 0) break;
            if (!Gather(needed)) return false;
        }
        tree_ = std::make_unique<CodeTree>(head_.data(), header_);
        wanted_ = static_cast<std::size_t>(header_.length);
        windowStart_ = header_.dataStart;
        phase_ = Phase::Data;
        s_ = in_;
        windowSize_ = inSize_;
        bit_ = 0;
        in_ = nullptr;
        inSize_ = 0;
        return true;
    }

    Step RunStored() {
        if (consumed_ == n_) return Step::Finished;
        if (inSize_ == 0) return Step::NeedInput;
        if (!closed_ && used_ == room_) return Step::OutputFull;
        const std::size_t take = closed_ ? inSize_ : std::min(inSize_, room_ - used_);
        if (!closed_) {
            std::memcpy(out_ + used_, in_, take);
            used_ += take;
        }
        in_ += take;
        inSize_ -= take;
        consumed_ += take;
        if (consumed_ == n_) return Step::Finished;
        return inSize_ == 0 ? Step::NeedInput : Step::OutputFull;
    }

    bool OutputFull() const {
        return !closed_ && used_ == std::min(room_, wanted_ - producedBefore_);
    }

    Step RunData() {
        if (Produced() == wanted_) return Step::Finished;
        if (OutputFull()) return Step::OutputFull;
        const std::size_t windowEnd = windowStart_ + windowSize_;
        if (!closed_) DecodeUntil(static_cast<std::uint64_t>(windowSize_) * 8);
        if (Produced() == wanted_) return Step::Finished;
        if (OutputFull()) return Step::OutputFull;
        if (windowEnd == n_) return Step::Finished;
        KeepTail();
        return Step::NeedInput;
    }

    // Keeps the bytes of a code cut by the end of the window for the next piece.
    void KeepTail() {
        const std::size_t from = static_cast<std::size_t>(bit_ >> 3);
        tailSize_ = windowSize_ - from;
        if (tailSize_ > kMaxTail) throw std::logic_error("Huffman decoder: tail too long");
        if (tailSize_ > 0) std::memcpy(tail_, s_ + from, tailSize_);
        windowStart_ += from;
        bit_ &= 7;
        s_ = nullptr;
        windowSize_ = 0;
    }

    // Decodes the codes that end at or before bit `limit` of the window, into the output.
    void DecodeUntil(std::uint64_t limit) {
        // Four run lookups (at most 48 bits, up to twelve codes) from one 57-bit window. The
        // loop works on local copies: stores through the byte pointer could otherwise alias
        // every member.
        const std::uint8_t* const s = s_;
        const std::uint32_t* const runs = tree_->Runs();
        const std::uint32_t mask = tree_->Mask();
        const std::size_t capacity = std::min(room_, wanted_ - producedBefore_);
        std::uint8_t* out = out_ + used_;
        std::uint8_t* const stop = out_ + capacity;
        std::uint64_t bit = bit_;
        while (stop - out >= 16 && bit + 64 <= limit) {
            std::uint64_t window = LoadLE64(s + (bit >> 3)) >> (bit & 7);
            int k = 0;
            for (; k < 4; ++k) {
                const std::uint32_t e = runs[window & mask];
                if (e == kNoRun) break;
                const unsigned length = (e >> 24) & 15;
                std::memcpy(out, &e, 4); // bytes past the run's symbols are rewritten later
                out += e >> 28;
                window >>= length;
                bit += length;
            }
            if (k < 4) {
                used_ = static_cast<std::size_t>(out - out_);
                bit_ = bit;
                if (!DecodeOne(limit)) return;
                out = out_ + used_;
                bit = bit_;
            }
        }
        used_ = static_cast<std::size_t>(out - out_);
        bit_ = bit;
        while (used_ < capacity && DecodeOne(limit)) {
        }
    }

    // Decodes one code that ends at or before limit; false (nothing consumed) when it does not.
    bool DecodeOne(std::uint64_t limit) {
        const std::uint32_t e = tree_->Entry(Peek());
        const std::uint64_t room = limit - bit_;
        if (!(e & kLongCode)) {
            const unsigned length = (e >> 8) & 255;
            if (length > room) return false;
            out_[used_++] = static_cast<std::uint8_t>(e);
            bit_ += length;
            return true;
        }
        if (room <= tree_->Bits()) return false;
        int node = static_cast<int>(e >> 16);
        for (std::uint64_t bit = bit_ + tree_->Bits(); bit < limit; ++bit) {
            node = tree_->Child(node, (s_[bit >> 3] >> (bit & 7)) & 1);
            if (tree_->Symbol(node) >= 0) {
                out_[used_++] = static_cast<std::uint8_t>(tree_->Symbol(node));
                bit_ = bit + 1;
                return true;
            }
        }
        return false;
    }

    // The next bits of the window, zeros past its end.
    std::uint64_t Peek() const {
        const std::size_t at = static_cast<std::size_t>(bit_ >> 3);
        std::uint64_t word;
        if (bit_ + 64 <= std::uint64_t{windowSize_} * 8) {
            word = LoadLE64(s_ + at);
        } else {
            std::uint8_t tail[8] = {};
            if (windowSize_ > at) std::memcpy(tail, s_ + at, windowSize_ - at);
            word = LoadLE64(tail);
        }
        return word >> (bit_ & 7);
    }

    const std::size_t n_;
    Phase phase_ = Phase::Identify;
    // The input piece not yet taken (head and stored phases).
    const std::uint8_t* in_ = nullptr;
    std::size_t inSize_ = 0;
    std::vector<std::uint8_t> head_;
    Header header_;
    std::unique_ptr<CodeTree> tree_;
    std::size_t wanted_ = 0;
    std::size_t consumed_ = 0; // stored phase: stream bytes taken
    // The data bits: a window of the stream starting at stream offset windowStart_.
    const std::uint8_t* s_ = nullptr;
    std::size_t windowSize_ = 0;
    std::size_t windowStart_ = 0;
    std::uint64_t bit_ = 0;
    std::uint8_t tail_[kMaxTail] = {};
    std::size_t tailSize_ = 0;
    std::vector<std::uint8_t> joined_;
    // The output.
    std::uint8_t* out_ = nullptr;
    std::size_t room_ = 0;
    std::size_t used_ = 0;
    std::size_t producedBefore_ = 0;
    bool closed_ = false;
};

StreamDecoder::StreamDecoder(std::size_t streamSize) : impl_(std::make_unique<Impl>(streamSize)) {}
StreamDecoder::~StreamDecoder() = default;
void StreamDecoder::SetInput(std::uint8_t* data, std::size_t size, bool roomInFront) {
    impl_->SetInput(data, size, roomInFront);
}
void StreamDecoder::SetOutput(std::uint8_t* out, std::size_t capacity) {
    impl_->SetOutput(out, capacity);
}
StreamDecoder::Step StreamDecoder::Run() {
    return impl_->Run();
}
std::size_t StreamDecoder::OutputUsed() const {
    return impl_->Used();
}
bool StreamDecoder::Stored() const {
    return impl_->Stored();
}
std::uint8_t StreamDecoder::StoredChecksum() const {
    return impl_->Checksum();
}
std::size_t StreamDecoder::Wanted() const {
    return impl_->Wanted();
}
std::size_t StreamDecoder::Produced() const {
    return impl_->Produced();
}
std::size_t StreamDecoder::MaxOutput() const {
    return impl_->MaxOutput();
}

} // namespace huffman

namespace {

bool DecodeCoded(Bytes& buffer, std::size_t n) {
    huffman::StreamDecoder decoder(n);
    decoder.SetInput(buffer.data(), n, false);
    using Step = huffman::StreamDecoder::Step;
    // The head is read first; the decoder then asks for output room.
    Step step = decoder.Run();
    // A forged length must not reserve memory the data bits could never fill.
    Bytes out;
    if (step == Step::OutputFull) {
        out = huffman::NewOutputBuffer(decoder.MaxOutput());
        decoder.SetOutput(out.data(), out.size());
        step = decoder.Run();
    }
    for (; step == Step::OutputFull; step = decoder.Run())
        decoder.SetOutput(nullptr, 0); // every code the data bits hold is out
    const std::size_t produced = decoder.Produced();
    // A stream that ends before its stated length is as wrong as a differing checksum, even
    // when the XOR of the shorter output happens to agree.
    const bool right = huffman::XorOf(out.data(), produced) == decoder.StoredChecksum() &&
                       produced == decoder.Wanted();
    out.resize(produced);
    buffer.swap(out);
    return right;
}

} // namespace

bool HuffmanDecode(Bytes& buffer, std::int32_t byteCount) {
    if (byteCount < 0 || static_cast<std::size_t>(byteCount) > buffer.size())
        throw std::logic_error("Huffman decoder: byte count outside the buffer");
    const auto n = static_cast<std::size_t>(byteCount);
    const huffman::StreamForm form = huffman::IdentifyStream(buffer.data(), n);
    if (form == huffman::StreamForm::Unknown) huffman::Unidentified();
    if (form == huffman::StreamForm::Stored) {
        buffer.resize(n);
        buffer.erase(buffer.begin(), buffer.begin() + huffman::kIdSize);
        return true;
    }
    return DecodeCoded(buffer, n);
}

} // namespace vw
