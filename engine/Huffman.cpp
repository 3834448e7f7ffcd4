#include "engine/Huffman.h"

#include <array>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

#include "engine/HuffmanBits.h"
#include "engine/HuffmanOutput.h"
#include "engine/HuffmanStages.h"
#include "engine/JobState.h"

namespace vw {
namespace huffman {

unsigned char XorOf(const unsigned char* data, std::size_t size) {
    std::uint64_t wide = 0;
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8)
        wide ^= LoadLE64(data + i);
    unsigned char x = 0;
    for (; i < size; ++i)
        x ^= data[i];
    for (int s = 0; s < 64; s += 8)
        x ^= static_cast<unsigned char>(wide >> s);
    return x;
}

} // namespace huffman

namespace {

using huffman::BitWriter;
using huffman::RunWithYields;

constexpr std::uint8_t kStored[4] = {72, 69, 48, 13};
constexpr int kMaxCodeBits = 255;
// Codes up to this length go to the bit writer in one piece; longer ones need more than 2^31
// input bytes, but are still written correctly in pieces.
constexpr unsigned kWholeCodeBits = 56;

// A code: its bits, first bit in bit 0 of word 0.
struct SymbolCode {
    unsigned bitCount = 0;
    std::array<std::uint64_t, 4> bits{};

    bool Bit(unsigned k) const { return (bits[k / 64] >> (k % 64)) & 1; }
    SymbolCode With(unsigned bit) const {
        if (bitCount == kMaxCodeBits)
            throw EngineError("Huffman code longer than 255 bits (arithmetic overflow)");
        SymbolCode next = *this;
        next.bits[bitCount / 64] |= static_cast<std::uint64_t>(bit) << (bitCount % 64);
        ++next.bitCount;
        return next;
    }
};

struct CodeNode {
    std::int16_t parent = -1;
    std::int16_t oneChild = -1;
    std::int16_t zeroChild = -1;
    std::int16_t symbol = -1;
    std::int64_t weight = 0;
};

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

  private:
    std::uint32_t tables_[4][256] = {};
};

// Builds the tree by the merge rule and returns the root's index.
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

void StoreUnchanged(Bytes& buffer, std::size_t n) {
    buffer.resize(n + 4);
    std::memmove(buffer.data() + 4, buffer.data(), n);
    std::memcpy(buffer.data(), kStored, 4);
}

// The coding pass over input[from, to).
void CodeBlock(BitWriter& writer, const std::uint8_t* in, std::size_t from, std::size_t to,
               const std::uint64_t (&bits)[256], const std::uint8_t (&lengths)[256],
               unsigned maxLength, const SymbolCode (&codes)[256]) {
    std::size_t i = from;
    if (maxLength <= kWholeCodeBits / 2) {
        for (; i + 2 <= to; i += 2) {
            const std::uint8_t s = in[i], t = in[i + 1];
            writer.Put2(bits[s], lengths[s], bits[t], lengths[t]);
        }
        if (i < to) writer.Put(bits[in[i]], lengths[in[i]]);
    } else if (maxLength <= kWholeCodeBits) {
        for (; i < to; ++i)
            writer.Put(bits[in[i]], lengths[in[i]]);
    } else {
        for (; i < to; ++i)
            PutCode(writer, codes[in[i]]);
    }
}

void Encode(Bytes& buffer, std::size_t n) {
    const std::uint8_t* in = buffer.data();
    const double total = static_cast<double>(n);

    ByteCounter counter;
    if (!RunWithYields(
            n, 1000, [&](std::size_t from, std::size_t to) { counter.Add(in + from, to - from); },
            [&](std::size_t i) { return static_cast<double>(i) / total * 3; })) {
        return;
    }
    std::int64_t counts[256];
    for (int v = 0; v < 256; ++v)
        counts[v] = counter.Count(v);

    CodeNode nodes[512];
    int leafCount = 0;
    const int root = BuildTree(nodes, counts, leafCount);
    SymbolCode codes[256];
    AssignCodes(nodes, root, SymbolCode{}, codes);

    std::uint64_t dataBits = 0;
    std::uint64_t tableBits = 0;
    unsigned maxLength = 0;
    for (int v = 0; v < 256; ++v) {
        dataBits += static_cast<std::uint64_t>(counts[v]) * codes[v].bitCount;
        tableBits += codes[v].bitCount;
        if (codes[v].bitCount > maxLength) maxLength = codes[v].bitCount;
    }
    const std::uint64_t dataBytes = (dataBits + 7) / 8;
    if (dataBytes == 0 || dataBytes > n) {
        StoreUnchanged(buffer, n);
        return;
    }

    std::uint8_t checksum = 0;
    if (!RunWithYields(
            n, 10000,
            [&](std::size_t from, std::size_t to) {
                checksum ^= huffman::XorOf(in + from, to - from);
            },
            [&](std::size_t i) { return static_cast<double>(i) / total * 3 + 3; })) {
        return;
    }

    const std::size_t headerSize = 11 + 2 * static_cast<std::size_t>(leafCount);
    const std::size_t codeBytes = static_cast<std::size_t>((tableBits + 7) / 8);
    const std::size_t size = headerSize + codeBytes + static_cast<std::size_t>(dataBytes);
    if (size > 0x7FFFFFFF)
        throw EngineError("Compressed stream larger than 2 GiB (arithmetic overflow)");
    Bytes out = huffman::NewOutputBuffer(size + 8);
    std::uint8_t* p = out.data();
    std::memcpy(p, "HE3\r", 4);
    p[4] = checksum;
    const auto length = static_cast<std::uint32_t>(n);
    for (int k = 0; k < 4; ++k)
        p[5 + k] = static_cast<std::uint8_t>(length >> (8 * k));
    p[9] = static_cast<std::uint8_t>(leafCount & 255);
    p[10] = static_cast<std::uint8_t>(leafCount >> 8);
    p += 11;
    std::uint64_t bits[256] = {};
    std::uint8_t lengths[256] = {};
    for (int v = 0; v < 256; ++v) {
        if (codes[v].bitCount == 0) continue;
        *p++ = static_cast<std::uint8_t>(v);
        *p++ = static_cast<std::uint8_t>(codes[v].bitCount);
        bits[v] = codes[v].bits[0];
        lengths[v] = static_cast<std::uint8_t>(codes[v].bitCount);
    }
    BitWriter table(p);
    for (int v = 0; v < 256; ++v)
        PutCode(table, codes[v]);

    BitWriter writer(out.data() + headerSize + codeBytes);
    if (!RunWithYields(
            n, 10000,
            [&](std::size_t from, std::size_t to) {
                CodeBlock(writer, in, from, to, bits, lengths, maxLength, codes);
            },
            [&](std::size_t i) { return static_cast<double>(i) / total * 44 + 3 + 3; })) {
        return;
    }
    if (writer.End() != out.data() + size) throw std::logic_error("Huffman stream size mismatch");
    out.resize(size);
    buffer.swap(out);
}

} // namespace

void HuffmanEncode(Bytes& buffer, std::int32_t byteCount) {
    if (byteCount < 0 || static_cast<std::size_t>(byteCount) > buffer.size()) {
        throw EngineError("Huffman encoder: byte count outside the buffer");
    }
    const auto n = static_cast<std::size_t>(byteCount);
    try {
        if (n == 0) {
            Bytes stored(kStored, kStored + 4);
            buffer.swap(stored);
            return;
        }
        Encode(buffer, n);
    } catch (const std::bad_alloc&) {
        throw EngineError("Out of memory while compressing");
    }
}

} // namespace vw
