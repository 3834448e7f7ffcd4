#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "bench/TextCorpus.h"
#include "engine/Huffman.h"
#include "engine/JobState.h"
#include "tests/support/LongCodeData.h"
#include "tests/support/TestHost.h"

namespace vw {
namespace {

using ::testing::HasSubstr;

Bytes FromText(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

Bytes Encoded(Bytes data) {
    HuffmanEncode(data, static_cast<std::int32_t>(data.size()));
    return data;
}

Bytes Decoded(Bytes stream) {
    HuffmanDecode(stream, static_cast<std::int32_t>(stream.size()));
    return stream;
}

// The length of the longest code in an "HE3" stream's symbol table.
int LongestCode(const Bytes& stream) {
    const int n = stream[9] | stream[10] << 8;
    int longest = 0;
    for (int k = 0; k < n; ++k)
        longest = std::max<int>(longest, stream[12 + 2 * k]);
    return longest;
}

void ExpectRoundTrip(const Bytes& data) {
    test::ScopedTestHost scope;
    const Bytes stream = Encoded(data);
    ASSERT_GE(stream.size(), 4u);
    const Bytes back = Decoded(stream);
    EXPECT_EQ(JobStatus, 0);
    ASSERT_EQ(back.size(), data.size());
    EXPECT_TRUE(back == data);
}

// --- The stream the encoder writes -------------------------------------------------------

TEST(HuffmanEncodeGolden, WorkedExamplesByteForByte) {
    test::ScopedTestHost scope;
    struct Case {
        const char* text;
        Bytes stream;
    };
    const Case cases[] = {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Encoded(FromText(c.text)), c.stream);
        EXPECT_EQ(Decoded(c.stream), FromText(c.text));
        EXPECT_EQ(JobStatus, 0);
    }
    EXPECT_EQ(Decoded(FromText("HE0\rany bytes")), FromText("any bytes"));
    EXPECT_EQ(Encoded(Bytes(70000, 0)).size(), 70004u);
    Bytes two(70000, 0); // one value with any other one is coded again
    two[123] = 1;
    EXPECT_EQ(Encoded(two)[2], '3');
    // A buffer longer than the byte count codes only the count.
    Bytes longer = FromText("abracadabra and more");
    HuffmanEncode(longer, 11);
    EXPECT_EQ(longer, cases[0].stream);
}

TEST(HuffmanEncodeGolden, AllByteValuesOnce) {
    test::ScopedTestHost scope;
    Bytes data(256);
    for (int v = 0; v < 256; ++v)
        data[v] = static_cast<std::uint8_t>(255 - v);
    const Bytes stream = Encoded(data);
    ASSERT_EQ(stream.size(), 1035u);
    EXPECT_EQ(stream[9], 0x00);
    EXPECT_EQ(stream[10], 0x01);
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(stream[11 + 2 * v], v);
        EXPECT_EQ(stream[12 + 2 * v], 8);
    }
    EXPECT_EQ(Decoded(stream), data);
}

// --- Round trips ------------------------------------------------------------------------

TEST(HuffmanRoundTrip, ManySizesAndContents) {
    std::mt19937 rng(42);
    for (std::size_t size : {1u, 2u, 3u, 7u, 8u, 9u, 999u, 1000u, 1001u, 4999u, 5000u, 5001u, 9999u,
                             10000u, 10001u, 20000u, 50000u, 123457u}) {
        SCOPED_TRACE(size);
        Bytes random(size);
        for (auto& v : random)
            v = static_cast<std::uint8_t>(rng());
        ExpectRoundTrip(random);
        ExpectRoundTrip(bench::MakeEnglishLikeText(size, static_cast<std::uint32_t>(size)));
        Bytes small(size);
        for (auto& v : small)
            v = static_cast<std::uint8_t>(rng() % 3 == 0 ? rng() % 5 : 0);
        ExpectRoundTrip(small);
    }
}

TEST(HuffmanRoundTrip, FibonacciCountsGiveLongCodes) {
    // Counts 1, 1, 2, 3, 5, ... give the deepest tree for their total: codes up to 31 bits,
    // far beyond the decoding table, spread through the data so they cross yield intervals.
    const Bytes data = test::LongCodeData(32, 9);

    test::ScopedTestHost scope;
    const Bytes stream = Encoded(data);
    EXPECT_GE(LongestCode(stream), 30);
    EXPECT_TRUE(Decoded(stream) == data);
    EXPECT_EQ(JobStatus, 0);
}

// --- Progress and cancel ----------------------------------------------------------------

TEST(HuffmanProgress, EncodeReportsEachStage) {
    test::ScopedTestHost scope;
    // 25000 bytes: counting yields at 0, 1000, ..., 24000 (i / n * 3), checksum and coding at
    // 0, 10000, 20000 (i / n * 3 + 3 and i / n * 44 + 6).
    const Bytes stream = Encoded(bench::MakeEnglishLikeText(25000, 3));
    EXPECT_EQ(stream[2], '3');
    EXPECT_EQ(scope.host.progress, (std::vector<int>{1, 2, 3, 4, 5, 6, 24, 41}));
    EXPECT_EQ(scope.host.eventCalls, 25 + 3 + 3);
    EXPECT_EQ(LastProgress, 41);
}

Bytes TwoSymbolData(std::size_t size) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i)
        data[i] = i % 2 ? 'b' : 'a';
    return data;
}

TEST(HuffmanProgress, DecodeReportsDecodingThenChecksum) {
    // One bit per byte: 160000 bytes -> 20000 data bytes, a 20016-byte stream. Decoding
    // yields after stream bytes 10000 and 20000, the checksum after every 10000 output bytes;
    // 62.5 rounds to 62 and 87.5 to 88.
    test::ScopedTestHost scope;
    const Bytes stream = Encoded(TwoSymbolData(160000));
    ASSERT_EQ(stream.size(), 20016u);
    scope.host.progress.clear();
    scope.host.eventCalls = 0;
    LastProgress = 0;
    const Bytes back = Decoded(stream);
    EXPECT_EQ(back, TwoSymbolData(160000));
    EXPECT_EQ(scope.host.progress, (std::vector<int>{70, 95, 50, 53, 56, 59, 62, 66, 69, 72, 75, 78,
                                                     81, 84, 88, 91, 94, 97}));
    EXPECT_EQ(scope.host.eventCalls, 18);
}

TEST(HuffmanProgress, NoDecodingYieldAfterTheLastByteWanted) {
    // 80000 bytes -> data bits end exactly at stream byte 10016; with 80000 - 8 * 16 bytes the
    // data ends at stream byte 10000 and decoding stops inside it: no yield at position 10000.
    test::ScopedTestHost scope;
    const Bytes stream = Encoded(TwoSymbolData(80000 - 128));
    ASSERT_EQ(stream.size(), 10000u);
    scope.host.eventCalls = 0;
    Decoded(stream);
    EXPECT_EQ(scope.host.eventCalls, 8); // checksum yields only: 0, 10000, ..., 70000
}

TEST(HuffmanCancel, EncodeCancelledAtEveryYieldLeavesTheBuffer) {
    const Bytes data = bench::MakeEnglishLikeText(25000, 3);
    for (int call = 1; call <= 31; ++call) {
        test::ScopedTestHost scope(call);
        Bytes buffer = data;
        HuffmanEncode(buffer, static_cast<std::int32_t>(buffer.size()));
        EXPECT_TRUE(CancelRequested);
        EXPECT_EQ(scope.host.eventCalls, call);
        ASSERT_TRUE(buffer == data) << "cancel at yield " << call;
    }
    // A stored stream is decided after counting: a cancel while counting keeps the input.
    test::ScopedTestHost scope(2);
    Bytes same(3000, 'x');
    HuffmanEncode(same, 3000);
    EXPECT_EQ(same, Bytes(3000, 'x'));
}

TEST(HuffmanCancel, DecodeCancelledAtEveryYieldLeavesTheBuffer) {
    const Bytes stream = Encoded(TwoSymbolData(160000));
    for (int call = 1; call <= 18; ++call) {
        test::ScopedTestHost scope(call);
        Bytes buffer = stream;
        HuffmanDecode(buffer, static_cast<std::int32_t>(buffer.size()));
        EXPECT_EQ(scope.host.eventCalls, call);
        EXPECT_EQ(JobStatus, 0);
        ASSERT_TRUE(buffer == stream) << "cancel at yield " << call;
    }
}

// --- Damaged and forged streams -------------------------------------------------------------

TEST(HuffmanDecodeChecks, ChangedChecksumDecodesFullyWithStatus5) {
    test::ScopedTestHost scope;
    const Bytes data = bench::MakeEnglishLikeText(30000, 8);
    Bytes stream = Encoded(data);
    stream[4] ^= 0x40;
    const Bytes back = Decoded(stream);
    EXPECT_EQ(JobStatus, kStatusChecksum);
    EXPECT_TRUE(back == data);
}

TEST(HuffmanDecodeChecks, StreamEndingEarlyGivesShortOutputAndStatus5) {
    test::ScopedTestHost scope;
    const Bytes data = TwoSymbolData(1600); // a = 0, b = 1: data bytes 0xAA
    Bytes stream = Encoded(data);
    // Cut 2 data bytes: 16 bytes fewer come out, whose XOR is 0: the checksum still agrees.
    stream.pop_back();
    stream.pop_back();
    const Bytes back = Decoded(stream);
    EXPECT_EQ(back.size(), 1584u);
    EXPECT_TRUE(std::equal(back.begin(), back.end(), data.begin()));
    EXPECT_EQ(JobStatus, kStatusChecksum);
}

TEST(HuffmanDecodeChecks, ForgedLengthIsNotAllocatedUpFront) {
    test::ScopedTestHost scope;
    Bytes stream = Encoded(FromText("abracadabra"));
    stream[5] = stream[6] = stream[7] = 0xFF;
    stream[8] = 0x7F; // 2^31 - 1
    const Bytes back = Decoded(stream);
    EXPECT_EQ(JobStatus, kStatusChecksum);
    // 24 data bits, shortest code 1 bit: at most 24 bytes, the fill bits decode as 'a'.
    EXPECT_EQ(back, FromText("abracadabraa"));
}

void ExpectRefused(const Bytes& stream, const std::string& description) {
    Bytes buffer = stream;
    try {
        HuffmanDecode(buffer, static_cast<std::int32_t>(buffer.size()));
        ADD_FAILURE() << "accepted; expected: " << description;
    } catch (const EngineError& e) {
        EXPECT_THAT(e.what(), HasSubstr(description));
    }
    EXPECT_EQ(buffer, stream);
}

// An "HE3" stream put together field by field.
Bytes Stream(std::int32_t length, std::int16_t symbols, const Bytes& table, const Bytes& rest) {
    Bytes s = FromText("HE3\r");
    s.push_back(0);
    for (int k = 0; k < 4; ++k)
        s.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(length) >> (8 * k)));
    s.push_back(static_cast<std::uint8_t>(symbols & 255));
    s.push_back(static_cast<std::uint8_t>((symbols >> 8) & 255));
    s.insert(s.end(), table.begin(), table.end());
    s.insert(s.end(), rest.begin(), rest.end());
    return s;
}

TEST(HuffmanDecodeChecks, MalformedStreamsAreRefusedUntouched) {
    test::ScopedTestHost scope;
    const std::string id = kIdentificationFailure;
    const Bytes ab = {'a', 1, 'b', 1}, data = {0x02, 0x02};
    Bytes abra = Encoded(FromText("abracadabra"));
    abra[1] = 'F';
    // Three codes of 255 bits need more than 512 tree nodes.
    Bytes deep(96, 0);
    for (int k = 255; k < 765; ++k)
        if (k != 510) deep[k / 8] |= static_cast<std::uint8_t>(1 << (k % 8));
    const std::pair<Bytes, std::string> cases[] = {
        {{}, id},
        {FromText("HE3"), id},
        {FromText("HE7\rabcdefghijk"), id},
        {FromText("HE3\nabcdefghijk"), id},
        {FromText("hE0\rabc"), id},
        {abra, id},
        {{'H', 'E', '3', 13, 0, 1, 0, 0, 0, 2}, "header is shorter than 11 bytes"},
        {Stream(0, 2, ab, data), "uncompressed length is not positive"},
        {Stream(-5, 2, ab, data), "uncompressed length is not positive"},
        {Stream(2, 1, {'a', 1}, {0, 0}), "symbol count 1 is below 2"},
        {Stream(2, 3, ab, {0x02}), "symbol table runs past the end"},
        {Stream(2, 2, {'a', 9, 'b', 9}, {0x00, 0x00}), "code bits run past the end"},
        // a = 0, b = 01: b runs through the leaf of a.
        {Stream(2, 2, {'a', 1, 'b', 2}, {0x04, 0x00}), "continues past the code of byte value 97"},
        // a = 01, b = 0: b ends on a's path.
        {Stream(2, 2, {'a', 2, 'b', 1}, {0x02, 0x00}), "same as or a prefix of another code"},
        // a = 0, b = 10: Kraft sum 3/4.
        {Stream(2, 2, {'a', 1, 'b', 2}, {0x02, 0x00}), "not a complete prefix code"},
        // b's later pair takes its code away: a alone is no complete code.
        {Stream(2, 3, {'a', 1, 'b', 1, 'b', 0}, {0x02, 0x00}), "not a complete prefix code"},
        {Stream(2, 3, {'a', 255, 'b', 255, 'c', 255}, deep), "more than 512 tree nodes"},
    };
    for (const auto& [stream, description] : cases)
        ExpectRefused(stream, description);
}

TEST(HuffmanDecodeChecks, SymbolTableInAnyOrderWithLaterPairsOverriding) {
    test::ScopedTestHost scope;
    // abracadabra's stream with its table shuffled, a's length set twice and x's code taken
    // away again: the code bits still follow byte-value order a, b, c, d, r.
    Bytes abra = Stream(11, 8, {'r', 3, 'a', 9, 'd', 3, 'x', 4, 'a', 1, 'c', 3, 'b', 3, 'x', 0},
                        {0xBA, 0x07, 0x1A, 0x73, 0x0D});
    abra[4] = 0x66;
    EXPECT_EQ(Decoded(abra), FromText("abracadabra"));
    EXPECT_EQ(JobStatus, 0);
    // All 256 values in descending order after two pairs they override: 258 pairs.
    Bytes data(256);
    for (int v = 0; v < 256; ++v)
        data[v] = static_cast<std::uint8_t>(v * 7);
    const Bytes golden = Encoded(data);
    Bytes table = {0, 5, 1, 200};
    for (int v = 255; v >= 0; --v)
        table.insert(table.end(), {static_cast<std::uint8_t>(v), 8});
    Bytes all = Stream(256, 258, table, Bytes(golden.begin() + 11 + 512, golden.end()));
    all[4] = golden[4];
    EXPECT_EQ(Decoded(all), data);
    EXPECT_EQ(JobStatus, 0);
}

TEST(HuffmanDecodeChecks, RandomDamageIsRefusedOrDecodedNeverReadBeyond) {
    // Flipped bytes and cut streams: every outcome is a refusal, a short or wrong output with
    // status 5, or (a fill bit or a data bit changed) a complete output; never a read beyond.
    test::ScopedTestHost scope;
    std::mt19937 rng(99);
    const Bytes sources[] = {FromText("abracadabra"), bench::MakeEnglishLikeText(3000, 5),
                             TwoSymbolData(700)};
    int refused = 0, decoded = 0;
    for (const Bytes& source : sources) {
        const Bytes stream = Encoded(source);
        for (int round = 0; round < 400; ++round) {
            Bytes damaged = stream;
            if (round % 2) {
                damaged.resize(4 + rng() % (damaged.size() - 4));
            } else {
                for (int k = 0; k < 1 + round % 3; ++k) {
                    damaged[4 + rng() % (damaged.size() - 4)] ^=
                        static_cast<std::uint8_t>(1 + rng() % 255);
                }
            }
            JobStatus = 0;
            try {
                const Bytes out = Decoded(damaged);
                ++decoded;
                if (JobStatus == 0) {
                    const std::uint32_t length = damaged[5] | damaged[6] << 8 | damaged[7] << 16;
                    EXPECT_EQ(out.size(), length + (std::uint32_t{damaged[8]} << 24));
                }
            } catch (const EngineError&) {
                ++refused;
            }
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(decoded, 0);
}

} // namespace
} // namespace vw
