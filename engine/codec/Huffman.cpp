// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/codec/Huffman.h"

#include <cstring>
#include <stdexcept>

#include "engine/codec/HuffmanBits.h"
#include "engine/codec/HuffmanFormat.h"
#include "engine/codec/HuffmanModel.h"
#include "engine/codec/HuffmanOutput.h"

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
using huffman::kIdSize;
using huffman::kStoredId;

void StoreUnchanged(Bytes& buffer, std::size_t n) {
    buffer.resize(n + kIdSize);
    std::memmove(buffer.data() + kIdSize, buffer.data(), n);
    std::memcpy(buffer.data(), kStoredId, kIdSize);
}

void Encode(Bytes& buffer, std::size_t n) {
    const std::uint8_t* in = buffer.data();
    huffman::ByteCounter counter;
    counter.Add(in, n);
    const huffman::EncoderPlan plan(counter, n);
    if (plan.Stored()) {
        StoreUnchanged(buffer, n);
        return;
    }
    const Bytes head = plan.Head(huffman::XorOf(in, n));
    const std::size_t size = plan.StreamSize();
    Bytes out = huffman::NewOutputBuffer(size + 8);
    std::memcpy(out.data(), head.data(), head.size());
    BitWriter writer(out.data() + head.size());
    plan.Code(writer, in, n);
    if (writer.End() != out.data() + size) throw std::logic_error("Huffman stream size mismatch");
    out.resize(size);
    buffer.swap(out);
}

} // namespace

void HuffmanEncode(Bytes& buffer, std::int32_t byteCount) {
    if (byteCount < 0 || static_cast<std::size_t>(byteCount) > buffer.size())
        throw std::logic_error("Huffman encoder: byte count outside the buffer");
    const auto n = static_cast<std::size_t>(byteCount);
    if (n == 0) {
        Bytes stored(kStoredId, kStoredId + kIdSize);
        buffer.swap(stored);
        return;
    }
    Encode(buffer, n);
}

} // namespace vw
