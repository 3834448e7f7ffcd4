// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/codec/HuffmanModel.h"

#include <cstring>
#include <stdexcept>

#include "engine/codec/HuffmanFormat.h"
#include "engine/io/Failure.h"

namespace vw::huffman {
namespace {

constexpr unsigned kMaxCodeBits = 255;
// Codes up to this length go to the bit writer in one piece; longer ones need more than 2^31
// input bytes, but are still written correctly in pieces.
constexpr unsigned kWholeCodeBits = 56;

struct CodeNode {
    std::int16_t parent = -1;
    std::int16_t oneChild = -1;
    std::int16_t zeroChild = -1;
    std::int16_t symbol = -1;
    std::int64_t weight = 0;
};

// Builds the tree and returns the root's index. Leaves take the indices from 0 in byte-value
// order; each merge joins two nodes without a parent under a new node at the next index. The
// two are chosen in one scan in index order: the first two found are A and B; a later node
// lighter than both replaces the heavier (A when they weigh the same), one lighter than only
// one of them replaces that one. A becomes the 0 branch, B the 1 branch.
int BuildTree(CodeNode (&nodes)[512], const std::int64_t (&counts)[256], int& leafCount) {
    int next = 0;
    for (int v = 0; v < 256; ++v) {
        if (counts[v] > 0) {
            nodes[next].symbol = static_cast<std::int16_t>(v);
            nodes[next].weight = counts[v];
            ++next;
        }
    }
    leafCount = next;
    for (int merge = 1; merge < leafCount; ++merge) {
        int a = -1, b = -1;
        std::int64_t wa = 0, wb = 0;
        for (int k = 0; k < next; ++k) {
            if (nodes[k].parent != -1) continue;
            const std::int64_t w = nodes[k].weight;
            if (a == -1) {
                a = k, wa = w;
            } else if (b == -1) {
                b = k, wb = w;
            } else if (w < wa && w < wb) {
                if (wa >= wb) {
                    a = k, wa = w;
                } else {
                    b = k, wb = w;
                }
            } else if (w < wa) {
                a = k, wa = w;
            } else if (w < wb) {
                b = k, wb = w;
            }
        }
        CodeNode& inner = nodes[next];
        inner.weight = wa + wb;
        inner.zeroChild = static_cast<std::int16_t>(a);
        inner.oneChild = static_cast<std::int16_t>(b);
        nodes[a].parent = nodes[b].parent = static_cast<std::int16_t>(next);
        ++next;
    }
    return next - 1;
}

void AssignCodes(const CodeNode (&nodes)[512], int node, const SymbolCode& code,
                 SymbolCode (&codes)[256]) {
    const CodeNode& n = nodes[node];
    if (n.symbol >= 0) {
        codes[n.symbol] = code;
        return;
    }
    if (n.zeroChild != -1) AssignCodes(nodes, n.zeroChild, code.With(0), codes);
    if (n.oneChild != -1) AssignCodes(nodes, n.oneChild, code.With(1), codes);
}

void PutCode(BitWriter& writer, const SymbolCode& code) {
    for (unsigned k = 0; k < code.bitCount; k += kWholeCodeBits) {
        const unsigned count =
            code.bitCount - k < kWholeCodeBits ? code.bitCount - k : kWholeCodeBits;
        std::uint64_t piece = 0;
        for (unsigned b = 0; b < count; ++b)
            piece |= static_cast<std::uint64_t>(code.Bit(k + b)) << b;
        writer.Put(piece, count);
    }
}

} // namespace

SymbolCode SymbolCode::With(unsigned bit) const {
    if (bitCount == kMaxCodeBits)
        Raise({.fault = Fault::StreamDamaged, .stream = StreamFault::CodeTooLong});
    SymbolCode next = *this;
    next.bits[bitCount / 64] |= static_cast<std::uint64_t>(bit) << (bitCount % 64);
    ++next.bitCount;
    return next;
}

EncoderPlan::EncoderPlan(const ByteCounter& counter, std::size_t inputSize)
    : inputSize_(inputSize) {
    std::int64_t counts[256];
    for (int v = 0; v < 256; ++v)
        counts[v] = counter.Count(v);
    CodeNode nodes[512];
    const int root = BuildTree(nodes, counts, leafCount_);
    if (root >= 0) AssignCodes(nodes, root, SymbolCode{}, codes_);
    for (int v = 0; v < 256; ++v) {
        dataBits_ += static_cast<std::uint64_t>(counts[v]) * codes_[v].bitCount;
        tableBits_ += codes_[v].bitCount;
        if (codes_[v].bitCount > maxLength_) maxLength_ = codes_[v].bitCount;
        bits_[v] = codes_[v].bits[0];
        lengths_[v] = static_cast<std::uint8_t>(codes_[v].bitCount);
    }
    const std::uint64_t dataBytes = (dataBits_ + 7) / 8;
    stored_ = dataBytes == 0 || dataBytes > inputSize_;
    if (stored_) maxLength_ = 8;
    if (!stored_ && StreamSize() > 0x7FFFFFFF)
        Raise({.fault = Fault::StreamDamaged, .stream = StreamFault::StreamTooLarge});
}

std::size_t EncoderPlan::StreamSize() const {
    if (stored_) return inputSize_ + kIdSize;
    return CodeBitsStart(static_cast<std::size_t>(leafCount_)) +
           static_cast<std::size_t>((tableBits_ + 7) / 8) +
           static_cast<std::size_t>((dataBits_ + 7) / 8);
}

Bytes EncoderPlan::Head(std::uint8_t checksum) const {
    if (stored_) return Bytes(kStoredId, kStoredId + kIdSize);
    const std::size_t headerSize = CodeBitsStart(static_cast<std::size_t>(leafCount_));
    const std::size_t codeBytes = static_cast<std::size_t>((tableBits_ + 7) / 8);
    Bytes head(headerSize + codeBytes + 8);
    std::uint8_t* p = head.data();
    std::memcpy(p, kCodedId, kIdSize);
    p[kChecksumAt] = checksum;
    const auto length = static_cast<std::uint32_t>(inputSize_);
    for (int k = 0; k < 4; ++k)
        p[kLengthAt + k] = static_cast<std::uint8_t>(length >> (8 * k));
    p[kSymbolCountAt] = static_cast<std::uint8_t>(leafCount_ & 255);
    p[kSymbolCountAt + 1] = static_cast<std::uint8_t>(leafCount_ >> 8);
    p += kHeadSize;
    for (int v = 0; v < 256; ++v) {
        if (codes_[v].bitCount == 0) continue;
        *p++ = static_cast<std::uint8_t>(v);
        *p++ = static_cast<std::uint8_t>(codes_[v].bitCount);
    }
    BitWriter table(p);
    for (int v = 0; v < 256; ++v)
        PutCode(table, codes_[v]);
    if (table.End() != head.data() + headerSize + codeBytes)
        throw std::logic_error("Huffman code table size mismatch");
    head.resize(headerSize + codeBytes);
    return head;
}

void EncoderPlan::Code(BitWriter& target, const std::uint8_t* in, std::size_t count) const {
    // A local writer stays in registers: its stores could otherwise alias the caller's.
    BitWriter writer = target;
    std::size_t i = 0;
    // As many codes to a store as surely fit: four of programs' codes, three of text's.
    if (maxLength_ <= kWholeCodeBits / 4) {
        for (; i + 4 <= count; i += 4) {
            const std::uint8_t a = in[i], b = in[i + 1], c = in[i + 2], d = in[i + 3];
            writer.Add(bits_[a], lengths_[a]), writer.Add(bits_[b], lengths_[b]);
            writer.Add(bits_[c], lengths_[c]), writer.Add(bits_[d], lengths_[d]);
            writer.Store();
        }
        for (; i < count; ++i)
            writer.Put(bits_[in[i]], lengths_[in[i]]);
    } else if (maxLength_ <= kWholeCodeBits / 3) {
        for (; i + 3 <= count; i += 3) {
            const std::uint8_t a = in[i], b = in[i + 1], c = in[i + 2];
            writer.Add(bits_[a], lengths_[a]), writer.Add(bits_[b], lengths_[b]);
            writer.Add(bits_[c], lengths_[c]);
            writer.Store();
        }
        for (; i < count; ++i)
            writer.Put(bits_[in[i]], lengths_[in[i]]);
    } else if (maxLength_ <= kWholeCodeBits / 2) {
        for (; i + 2 <= count; i += 2) {
            const std::uint8_t s = in[i], t = in[i + 1];
            writer.Put2(bits_[s], lengths_[s], bits_[t], lengths_[t]);
        }
        if (i < count) writer.Put(bits_[in[i]], lengths_[in[i]]);
    } else if (maxLength_ <= kWholeCodeBits) {
        for (; i < count; ++i)
            writer.Put(bits_[in[i]], lengths_[in[i]]);
    } else {
        for (; i < count; ++i)
            PutCode(writer, codes_[in[i]]);
    }
    target = writer;
}

} // namespace vw::huffman
