// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "engine/codec/Huffman.h"
#include "engine/codec/HuffmanStreamDecoder.h"
#include "tests/support/TempDir.h"

namespace vw {
namespace {

const auto FromText = [](const std::string& text) { return Bytes(text.begin(), text.end()); };

Bytes Encoded(Bytes data) {
    HuffmanEncode(data, static_cast<std::int32_t>(data.size()));
    return data;
}
// The decoded bytes, and whether their checksum and length agreed with the stream's.
Bytes Decoded(Bytes stream, bool* intact = nullptr) {
    const bool agree = HuffmanDecode(stream, static_cast<std::int32_t>(stream.size()));
    if (intact) *intact = agree;
    return stream;
}

// One bit a byte: "a" codes as 0 and "b" as 1.
Bytes TwoSymbolData(std::size_t size) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = i % 2 ? 'b' : 'a';
    return data;
}

// An "HE3" stream put together field by field.
Bytes Stream(std::int32_t length, int pairs, const Bytes& table, const Bytes& bits,
             std::uint8_t checksum = 0) {
    const auto u = static_cast<std::uint32_t>(length);
    Bytes s = {'H', 'E', '3', 13, checksum};
    for (const std::uint32_t field :
         {u, u >> 8, u >> 16, u >> 24, std::uint32_t(pairs), std::uint32_t(pairs) >> 8})
        s.push_back(static_cast<std::uint8_t>(field));
    s.insert(s.end(), table.begin(), table.end());
    s.insert(s.end(), bits.begin(), bits.end());
    return s;
}

TEST(HuffmanGolden, WorkedExamplesByteForByteAndSymbolTablesInAnyOrder) {
    const std::pair<std::string, Bytes> cases[] = {
        {"abracadabra",
         {0x48, 0x45, 0x33, 0x0D, 0x66, 0x0B, 0x00, 0x00, 0x00, 0x05, 0x00, 0x61, 0x01,
          0x62, 0x03, 0x63, 0x03, 0x64, 0x03, 0x72, 0x03, 0xBA, 0x07, 0x1A, 0x73, 0x0D}},
        // a = 0, b = 1: coded even though the stream is longer than the data.
        {"ab",
         {0x48, 0x45, 0x33, 0x0D, 0x03, 0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x61, 0x01, 0x62, 0x01,
          0x02, 0x02}},
        // Counts x 2, y 3, z 1: z is lighter than both candidates and A (x, 2) lighter than
        // B (y, 3), so z replaces B: codes y 0, x 10, z 11.
        {"xxyyyz", {0x48, 0x45, 0x33, 0x0D, 0x03, 0x06, 0x00, 0x00, 0x00, 0x03,
                    0x00, 0x78, 0x02, 0x79, 0x01, 0x7A, 0x02, 0x19, 0x85, 0x01}},
        {"aaaa", FromText("HE0\raaaa")},
        {"", FromText("HE0\r")},
    };
    for (const auto& [text, stream] : cases) {
        EXPECT_EQ(Encoded(FromText(text)), stream) << text;
        EXPECT_EQ(Decoded(stream), FromText(text)) << text;
    }
    // A buffer longer than the byte count codes only the count.
    Bytes longer = FromText("abracadabra and more");
    HuffmanEncode(longer, 11);
    EXPECT_EQ(longer, cases[0].second);
    // All 256 values once: N = 256 as 00 01, every code 8 bits, 11 + 512 + 256 + 256 bytes.
    Bytes all(256), pairs = {0x00, 0x01};
    for (int v = 0; v < 256; ++v) {
        all[v] = static_cast<std::uint8_t>(255 - v);
        pairs.insert(pairs.end(), {static_cast<std::uint8_t>(v), 8});
    }
    const Bytes stream = Encoded(all);
    EXPECT_EQ(stream.size(), 1035u);
    EXPECT_EQ(Bytes(stream.begin() + 9, stream.begin() + 11 + 512), pairs);
    EXPECT_EQ(Decoded(stream), all);
    // abracadabra's stream with its table shuffled, a's length set twice and x's code taken
    // away again: the code bits still follow byte-value order a, b, c, d, r.
    const Bytes abra =
        Stream(11, 8, {'r', 3, 'a', 9, 'd', 3, 'x', 4, 'a', 1, 'c', 3, 'b', 3, 'x', 0},
               {0xBA, 0x07, 0x1A, 0x73, 0x0D}, 0x66);
    EXPECT_EQ(Decoded(abra), FromText("abracadabra"));
    // The same code bits after two pairs for 0 and 1 and all 256 pairs in descending order.
    Bytes table = {0, 5, 1, 200};
    for (int v = 255; v >= 0; --v)
        table.insert(table.end(), {static_cast<std::uint8_t>(v), 8});
    const Bytes bits(stream.begin() + 11 + 512, stream.end());
    bool intact = false;
    EXPECT_EQ(Decoded(Stream(256, 258, table, bits, stream[4]), &intact), all);
    EXPECT_TRUE(intact);
    // Bytes after the last symbol's byte are padding that reading never reaches.
    Bytes padded = cases[0].second;
    padded.insert(padded.end(), {0xFF, 0x00, 0xA5});
    intact = false;
    EXPECT_EQ(Decoded(padded, &intact), FromText("abracadabra"));
    EXPECT_TRUE(intact);
}

TEST(HuffmanDecodeChecks, DamagedDataDecodesAsFarAsItGoesWithStatus5MalformedIsRefused) {
    const Bytes text = test::TextData(30000, 8), two = TwoSymbolData(1600);
    Bytes checksum = Encoded(text), cut = Encoded(two), forged = Encoded(FromText("abracadabra"));
    checksum[4] ^= 0x40;
    // Two data bytes fewer: 16 bytes fewer, whose XOR is 0, so the checksum still agrees.
    cut.erase(cut.end() - 2, cut.end());
    // A length of 2^31 - 1 is not reserved up front: 24 data bits and a shortest code of one
    // bit give at most 24 bytes, and the fill bits decode as "a".
    std::fill(forged.begin() + 5, forged.begin() + 8, 0xFF);
    forged[8] = 0x7F;
    const std::pair<Bytes, Bytes> cases[] = {{checksum, text},
                                             {cut, Bytes(two.begin(), two.end() - 16)},
                                             {forged, FromText("abracadabraa")}};
    for (const auto& [stream, decoded] : cases) {
        bool intact = true;
        EXPECT_TRUE(Decoded(stream, &intact) == decoded) << decoded.size();
        EXPECT_FALSE(intact);
    }
    // Malformed streams are refused untouched, saying how.
    using F = StreamFault;
    const auto damaged = [](StreamFault how, std::int64_t value = 0, std::int64_t other = 0) {
        return Failure{
            .fault = Fault::StreamDamaged, .value = value, .limit = other, .stream = how};
    };
    const Failure id{Fault::StreamNotIdentified};
    const Bytes ab = {'a', 1, 'b', 1}, data = {0x02, 0x02};
    // Three codes of 255 bits need more than 512 tree nodes.
    Bytes deep(96, 0);
    for (int k = 255; k < 765; ++k)
        if (k != 510) deep[k / 8] |= static_cast<std::uint8_t>(1 << (k % 8));
    const std::pair<Bytes, Failure> malformed[] = {
        {{}, id},
        {FromText("HE7\rabcdefghijk"), id},
        {FromText("HE3\nabcdefghijk"), id},
        {{'H', 'E', '3', 13, 0, 1, 0, 0, 0, 2}, damaged(F::HeadShort)},
        {Stream(-5, 2, ab, data), damaged(F::LengthNotPositive)},
        {Stream(2, 1, {'a', 1}, {0, 0}), damaged(F::FewSymbols, 1)},
        {Stream(2, 3, ab, {0x02}), damaged(F::TableOverrun)},
        {Stream(2, 2, {'a', 9, 'b', 9}, {0x00, 0x00}), damaged(F::CodeBitsOverrun)},
        // 0 = 0, b = 01: b runs through the leaf of byte value 0.
        {Stream(2, 2, {0, 1, 'b', 2}, {0x04, 0x00}), damaged(F::CodeContinues, 'b', 0)},
        // a = 01, b = 0: b ends on a's path.
        {Stream(2, 2, {'a', 2, 'b', 1}, {0x02, 0x00}), damaged(F::CodeRepeated, 'b')},
        // a = 0, b = 10: Kraft sum 3/4.
        {Stream(2, 2, {'a', 1, 'b', 2}, {0x02, 0x00}), damaged(F::CodeIncomplete)},
        {Stream(2, 3, {'a', 255, 'b', 255, 'c', 255}, deep), damaged(F::TooManyNodes)},
    };
    for (const auto& [stream, failure] : malformed) {
        Bytes buffer = stream;
        try {
            HuffmanDecode(buffer, static_cast<std::int32_t>(buffer.size()));
            ADD_FAILURE() << "accepted a malformed stream of " << stream.size() << " bytes";
        } catch (const EngineError& e) {
            EXPECT_EQ(e.failure(), failure) << static_cast<int>(failure.stream);
        }
        EXPECT_EQ(buffer, stream);
    }
}

// Decodes a stream fed in pieces of the given size, each in a buffer of its own so that reading
// outside it is caught, with room in front for odd sizes, into outputs of the given size.
Bytes DecodeInPieces(const Bytes& stream, std::size_t piece, std::size_t outputSize) {
    using Step = huffman::StreamDecoder::Step;
    constexpr std::size_t kRoom = huffman::StreamDecoder::kHeadroom;
    const bool room = piece % 2;
    huffman::StreamDecoder decoder(stream.size());
    Bytes result;
    Bytes output(outputSize), copy;
    auto flush = [&] {
        result.insert(result.end(), output.begin(),
                      output.begin() + static_cast<long>(decoder.OutputUsed()));
    };
    for (std::size_t at = 0;;) {
        const Step step = decoder.Run();
        if (step == Step::Finished) break;
        if (step == Step::OutputFull) flush(), decoder.SetOutput(output.data(), output.size());
        if (step != Step::NeedInput) continue;
        if (at >= stream.size()) throw std::logic_error("more input asked than the stream has");
        const std::size_t count = std::min(piece, stream.size() - at), front = room ? kRoom : 0;
        copy.assign(front + count, 0xEE);
        std::copy_n(stream.begin() + static_cast<long>(at), count,
                    copy.begin() + static_cast<long>(front));
        decoder.SetInput(copy.data() + front, count, room);
        at += count;
    }
    flush();
    return result;
}

TEST(StreamDecoderPieces, AnyPieceAndOutputSizeGivesTheSameBytes) {
    for (const Bytes& data :
         {test::LongCodeData(24, 3), test::TextData(50001, 4), Bytes(30000, 'a')}) {
        const Bytes stream = Encoded(data);
        const auto whole = DecodeInPieces(stream, stream.size() + 1, data.size() + 8);
        ASSERT_TRUE(whole == data);
        for (std::size_t piece : {1u, 2u, 3u, 7u, 41u, 64u, 1000u, 9999u, 10001u}) {
            for (std::size_t outputSize : {1u, 100u, 65536u})
                ASSERT_TRUE(DecodeInPieces(stream, piece, outputSize) == whole)
                    << piece << " " << outputSize;
        }
    }
    Bytes damaged = Encoded(test::TextData(5000, 5));
    damaged[12] = 0; // a code length of 0: refused whichever piece completes the head
    for (std::size_t piece : {1u, 5u, 11u, 13u, 5000u})
        EXPECT_THROW(DecodeInPieces(damaged, piece, 100), EngineError) << piece;
    EXPECT_THROW(DecodeInPieces(Bytes{'H', 'E'}, 1, 10), EngineError);
}

} // namespace
} // namespace vw
