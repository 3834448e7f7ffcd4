// Protecting and restoring through the file in chunks on two threads gives the very bytes,
// statuses and progress of the whole-buffer procedures: files compared with ones built by hand
// from the buffer-level codec and cipher, sizes around the chunk size, cancel at every yield
// point, failures inside the workers, and the piecewise decoder fed in pieces of any size.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include <gtest/gtest.h>

#include "bench/TextCorpus.h"
#include "engine/Cipher.h"
#include "engine/Driver.h"
#include "engine/FileIO.h"
#include "engine/Huffman.h"
#include "engine/HuffmanStreamDecoder.h"
#include "engine/JobState.h"
#include "engine/ProtectedFile.h"
#include "engine/ProtectedFileHooks.h"
#include "engine/StreamPipeline.h"
#include "engine/VwxFormat.h"
#include "tests/support/LongCodeData.h"
#include "tests/support/ProtectedFileForge.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestHost.h"

namespace vw {
namespace {

using stream::kChunkSize;
using test::ReadFile;
using test::WriteFile;

constexpr const char* kPassword = "chunked password";

using test::Encoded;
using test::FixedHeader;

// Fixes the header ProtectFile writes for a test's scope.
class FixedHeaderScope {
  public:
    FixedHeaderScope() { hooks::ProtectHeaderSource = &FixedHeader; }
    ~FixedHeaderScope() { hooks::ProtectHeaderSource = nullptr; }
};

// A protected file built by hand around a stream, with its check values kept or not.
Bytes FileWithStream(const Bytes& stream, const std::string& extension = "txt",
                     bool checksAgree = true) {
    test::VwxParts parts = test::PartsAround(stream, extension);
    if (!checksAgree) parts.trailer = {{0, 0}};
    return test::ForgeVwx(parts, kPassword);
}

// Long codes, with the rarest values right around the chunk boundaries.
Bytes LongCodeData(std::size_t symbols, unsigned seed) {
    Bytes data = test::LongCodeData(symbols, seed);
    for (std::size_t k = 1; k * kChunkSize + 2 < data.size(); ++k) {
        std::swap(data[k * kChunkSize - 1], *std::find(data.begin(), data.end(), std::uint8_t{0}));
        std::swap(data[k * kChunkSize + 1], *std::find(data.begin(), data.end(), std::uint8_t{7}));
    }
    return data;
}

class Streaming : public ::testing::Test {
  protected:
    std::string Protect(const std::string& source) {
        return ProcessFile(source, dir / "out.x", kPassword, "");
    }
    std::string Restore(const std::string& protectedPath) {
        return ProcessFile(protectedPath, dir / "back.x", kPassword, "");
    }
    bool NoTemporaryFiles() const {
        for (const auto& name : dir.Entries())
            if (name.rfind(kTempPrefix, 0) == 0) return false;
        return true;
    }

    test::TempDir dir;
    test::ScopedTestHost scope;
    FixedHeaderScope fixed;
};

TEST_F(Streaming, FilesAreThoseTheBufferLevelCodecAndCipherGive) {
    const std::vector<std::pair<std::string, Bytes>> cases = {
        {"small text", bench::MakeEnglishLikeText(30000, 1)},
        {"chunk - 1", bench::MakeEnglishLikeText(kChunkSize - 1, 2)},
        {"chunk", bench::MakeEnglishLikeText(kChunkSize, 3)},
        {"chunk + 1", bench::MakeEnglishLikeText(kChunkSize + 1, 4)},
        {"two chunks + 1, random", test::RandomData(2 * kChunkSize + 1, 5)},
        {"stored, chunk + 1", Bytes(kChunkSize + 1, 'x')},
        {"stored, chunk - 4", Bytes(kChunkSize - 4, 'y')},
        {"stored, chunk - 3", Bytes(kChunkSize - 3, 'z')},
        {"long codes across chunks", LongCodeData(31, 6)},
        {"one byte", Bytes{0x42}},
    };
    for (const auto& [label, data] : cases) {
        SCOPED_TRACE(label);
        WriteFile(dir / "data.bin", data);
        const std::string p = Protect(dir / "data.bin");
        ASSERT_EQ(JobStatus, 0) << StatusMessage;
        ASSERT_TRUE(ReadFile(p) == FileWithStream(Encoded(data), "bin"));

        const std::string back = Restore(p);
        ASSERT_EQ(JobStatus, 0) << StatusMessage;
        EXPECT_EQ(back, dir / "back.bin");
        EXPECT_TRUE(ReadFile(back) == data);
        EXPECT_TRUE(NoTemporaryFiles());
        std::filesystem::remove(back);
    }
    EXPECT_GE(Encoded(LongCodeData(31, 6))[12], 29); // the code length of the rarest value
}

TEST_F(Streaming, AProtectedFileTooLongToRestoreIsRefusedBeforeWriting) {
    // The longest file a restore reads: header 41 + extension 3 + stream m + 3 bytes. (Protecting
    // a source that long takes a full 2 GiB pass of the cipher.)
    EXPECT_TRUE(vwx::FitsTheFormat(41, 3, 2147483600));
    EXPECT_FALSE(vwx::FitsTheFormat(41, 3, 2147483601));
    // Zeros are stored (m = N + 4); with N = 2147483597 the file would be one byte too long.
    const std::string zeros = dir / "zeros.bin";
    WriteFile(zeros, Bytes{});
    ASSERT_EQ(::truncate(zeros.c_str(), 2147483597), 0);
    scope.host.progress.clear();
    EXPECT_EQ(Protect(zeros), zeros);
    EXPECT_EQ(JobStatus, 12);
    EXPECT_NE(ErrorDescription.find("too large for the format"), std::string::npos);
    EXPECT_LE(scope.host.progress.back(), 6); // nothing was coded or encrypted
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"zeros.bin"});
}

// The progress values and the number of yields of the whole-buffer procedures: the codec's
// own stages run on a buffer, the cipher's stages follow their formulas.
struct Expected {
    std::vector<int> progress;
    int events = 0;
};

void CipherStage(Expected& e, std::size_t count, double scale, double offset, std::int16_t& last) {
    const double lastIndex = static_cast<double>(count - 1);
    for (std::size_t i = 0; i < count; i += 5000) {
        ++e.events;
        const int percent =
            RoundHalfEven(count == 1 ? 0.0 : static_cast<double>(i) / lastIndex * scale + offset);
        if (percent != last) {
            last = static_cast<std::int16_t>(percent);
            if (percent != 0) e.progress.push_back(std::min(percent, 100));
        }
    }
}

Expected ProtectExpected(const Bytes& data) {
    Expected e;
    test::ScopedTestHost codec;
    Bytes stream = data;
    HuffmanEncode(stream, static_cast<std::int32_t>(stream.size()));
    e.progress = codec.host.progress;
    e.events = 1 + codec.host.eventCalls; // the events before the source is read
    std::int16_t last = LastProgress;
    CipherStage(e, stream.size(), 44, 56, last);
    return e;
}

Expected RestoreExpected(const Bytes& data) {
    Expected e;
    const Bytes stream = Encoded(data);
    std::int16_t last = 0;
    CipherStage(e, stream.size(), 50, 0, last);
    test::ScopedTestHost codec;
    LastProgress = last;
    Bytes buffer = stream;
    HuffmanDecode(buffer, static_cast<std::int32_t>(buffer.size()));
    e.progress.insert(e.progress.end(), codec.host.progress.begin(), codec.host.progress.end());
    e.events += codec.host.eventCalls;
    return e;
}

TEST_F(Streaming, ProgressAndYieldsAreThoseOfTheWholeBufferProcedures) {
    for (const Bytes& data :
         {bench::MakeEnglishLikeText(30000, 9), bench::MakeEnglishLikeText(33333, 10),
          bench::MakeEnglishLikeText(3 * kChunkSize + 777, 11), Bytes(kChunkSize + 5, 'q')}) {
        SCOPED_TRACE(data.size());
        WriteFile(dir / "a.txt", data);
        const Expected protect = ProtectExpected(data);
        scope.host.progress.clear();
        scope.host.eventCalls = 0;
        const std::string p = Protect(dir / "a.txt");
        ASSERT_EQ(JobStatus, 0);
        EXPECT_EQ(scope.host.progress, protect.progress);
        EXPECT_EQ(scope.host.eventCalls, protect.events);

        const Expected restore = RestoreExpected(data);
        scope.host.progress.clear();
        scope.host.eventCalls = 0;
        Restore(p);
        ASSERT_EQ(JobStatus, 0);
        EXPECT_EQ(scope.host.progress, restore.progress);
        EXPECT_EQ(scope.host.eventCalls, restore.events);
    }
}

TEST_F(Streaming, CancelAtEveryYieldOfAMultiChunkJobWritesNothing) {
    const Bytes data = bench::MakeEnglishLikeText(kChunkSize + 150000, 12);
    WriteFile(dir / "a.txt", data);
    const std::string p = Protect(dir / "a.txt");
    ASSERT_EQ(JobStatus, 0);
    std::filesystem::rename(p, dir / "keep.vwx");
    const Expected protect = ProtectExpected(data);
    const Expected restore = RestoreExpected(data);
    const auto before = dir.Entries();
    // Counting yields every 1000 bytes: a sample of them, every yield of the other stages.
    const int counting = static_cast<int>((data.size() - 1) / 1000 + 2);
    for (int at = 1; at <= protect.events; at += at < counting - 3 ? 37 : 1) {
        scope.host.eventCalls = 0;
        scope.host.CancelAt(at);
        EXPECT_EQ(Protect(dir / "a.txt"), dir / "a.txt");
        ASSERT_EQ(JobStatus, 11) << at;
        // A cancel in the events before reading takes effect at the first yield.
        ASSERT_EQ(scope.host.eventCalls, std::max(at, 2));
        ASSERT_EQ(dir.Entries(), before) << at;
    }
    for (int at = 1; at <= restore.events; ++at) {
        scope.host.eventCalls = 0;
        scope.host.CancelAt(at);
        EXPECT_EQ(Restore(dir / "keep.vwx"), dir / "keep.vwx");
        ASSERT_EQ(JobStatus, 21) << at;
        ASSERT_EQ(scope.host.eventCalls, at);
        ASSERT_EQ(dir.Entries(), before) << at;
    }
    scope.host.CancelAt(0);
    EXPECT_TRUE(ReadFile(dir / "a.txt") == data);
}

class StreamingFaults : public ::testing::Test {
  protected:
    void SetUp() override {
        CancelRequested = false;
        LastProgress = 0;
        JobStatus = 0;
    }
    // The first yield after the counting pass of n bytes, when the source was read once.
    static int FirstCallAfterCounting(std::size_t n) {
        return 1 + static_cast<int>((n - 1) / 1000 + 1) + 1;
    }

    test::TempDir dir;
    test::TestHost host;
    ScopedHost scoped{host};
    FixedHeaderScope fixed;
};

TEST_F(StreamingFaults, ASourceThatChangesIsNeverDeletedNorCut) {
    const Bytes data = bench::MakeEnglishLikeText(2 * kChunkSize, 13);
    const std::string source = dir / "a.txt";
    auto append = [&] { std::ofstream(source, std::ios::app) << "one more line\n"; };
    auto reorder = [&] { // the same bytes in another order: only the file's times tell
        Bytes changed = data;
        std::reverse(changed.begin(), changed.begin() + 1000);
        WriteFile(source, changed);
    };
    auto cut = [&] { ASSERT_EQ(::truncate(source.c_str(), kChunkSize + 10), 0); };
    const int afterCounting = FirstCallAfterCounting(data.size());
    struct Case {
        const char* label;
        std::function<bool()> when;
        std::function<void()> change;
        bool outputKept;
    };
    const Case cases[] = {
        {"grows while counted", [&] { return host.eventCalls == 2; }, append, false},
        {"cut between the passes", [&] { return host.eventCalls == afterCounting; }, cut, false},
        {"reordered between the passes", [&] { return host.eventCalls == afterCounting; }, reorder,
         false},
        {"grows while encrypted", [&] { return host.progress.back() == 80; }, append, false},
        {"grows before the commit", [&] { return host.busyCalls.size() == 3; }, append, false},
        {"grows after the commit", [&] { return host.busyCalls.size() == 4; }, append, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteFile(source, data);
        std::filesystem::last_write_time(source, std::filesystem::last_write_time(source) -
                                                     std::chrono::hours(1));
        host.eventCalls = 0;
        host.progress = {0};
        host.busyCalls.clear();
        Bytes changed;
        host.act = [&] {
            if (changed.empty() && c.when()) {
                c.change();
                changed = ReadFile(source);
            }
        };
        EXPECT_EQ(ProcessFile(source, source, kPassword, ""), source);
        EXPECT_EQ(JobStatus, 12);
        EXPECT_NE(ErrorDescription.find("changed during the job"), std::string::npos)
            << ErrorDescription;
        EXPECT_TRUE(!changed.empty() && ReadFile(source) == changed);
        const std::vector<std::string> kept = {"a.txt", "a.vwx"};
        EXPECT_EQ(dir.Entries(), c.outputKept ? kept : std::vector<std::string>{"a.txt"});
        std::filesystem::remove(dir / "a.vwx");
    }
    // A protected file replaced while it is restored is kept as well.
    host.act = nullptr;
    const std::string p = ProcessFile(source, dir / "p.txt", kPassword, "");
    ASSERT_EQ(JobStatus, 0);
    host.eventCalls = 0;
    host.act = [&] {
        if (host.eventCalls == 1) {
            WriteFile(dir / "newer", std::string("newer"));
            std::filesystem::rename(dir / "newer", p);
        }
    };
    EXPECT_EQ(ProcessFile(p, p, kPassword, ""), p);
    EXPECT_EQ(JobStatus, 22);
    EXPECT_TRUE(ReadFile(p) == Bytes({'n', 'e', 'w', 'e', 'r'}));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.txt", "p.vwx"}));
}

TEST_F(StreamingFaults, ADecoderFailureYieldsToDifferingCheckValues) {
    Bytes stream = Encoded(bench::MakeEnglishLikeText(3 * kChunkSize, 15));
    struct Damage {
        const char* label;
        std::function<void(Bytes&)> apply;
        const char* description;
    };
    const std::vector<Damage> damages = {
        {"identification", [](Bytes& s) { s[2] = '7'; }, "identification string not found"},
        {"symbol count", [](Bytes& s) { s[9] = 1, s[10] = 0; }, "symbol count"},
        {"code table", [](Bytes& s) { s[12] = static_cast<std::uint8_t>(s[12] + 1); },
         "prefix code"},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.label);
        Bytes damaged = stream;
        damage.apply(damaged);
        WriteFile(dir / "d.vwx", FileWithStream(damaged, "txt", false));
        host.eventCalls = 0;
        EXPECT_EQ(ProcessFile(dir / "d.vwx", dir / "out.x", kPassword, ""), dir / "d.vwx");
        EXPECT_EQ(JobStatus, 23);
        // The whole data was decrypted before the check: every decryption yield was passed.
        EXPECT_EQ(host.eventCalls, static_cast<int>((damaged.size() - 1) / 5000 + 1));

        WriteFile(dir / "d.vwx", FileWithStream(damaged));
        EXPECT_EQ(ProcessFile(dir / "d.vwx", dir / "out.x", kPassword, ""), dir / "d.vwx");
        EXPECT_EQ(JobStatus, 22);
        EXPECT_NE(ErrorDescription.find(damage.description), std::string::npos) << ErrorDescription;
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"d.vwx"});
    }
}

TEST_F(StreamingFaults, ChecksumAndLengthFailuresOfALargeStreamWriteNothing) {
    Bytes stream = Encoded(bench::MakeEnglishLikeText(2 * kChunkSize + 3, 16));
    Bytes badChecksum = stream;
    badChecksum[4] ^= 0x20;
    Bytes cutShort(stream.begin(), stream.end() - 1000);
    for (const Bytes& s : {badChecksum, cutShort}) {
        WriteFile(dir / "d.vwx", FileWithStream(s));
        EXPECT_EQ(ProcessFile(dir / "d.vwx", dir / "out.x", kPassword, ""), dir / "d.vwx");
        EXPECT_EQ(JobStatus, 5);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"d.vwx"});
    }
    // A stored extension that leads out of the folder is refused only after the check values.
    Bytes file = FileWithStream(stream, "..");
    WriteFile(dir / "d.vwx", file);
    EXPECT_EQ(ProcessFile(dir / "d.vwx", dir / "out.x", kPassword, ""), dir / "d.vwx");
    EXPECT_EQ(JobStatus, 22);
    EXPECT_NE(ErrorDescription.find("extension"), std::string::npos);
    WriteFile(dir / "d.vwx", FileWithStream(stream, "..", false));
    ProcessFile(dir / "d.vwx", dir / "out.x", kPassword, "");
    EXPECT_EQ(JobStatus, 23);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"d.vwx"});
}

// --- The piecewise decoder ------------------------------------------------------------------

struct Decoding {
    Bytes output;
    std::vector<std::size_t> yields;
};

// Feeds the stream in pieces of the given size, with room in front of each or not, into
// outputs of the given size.
Decoding DecodeInPieces(const Bytes& stream, std::size_t piece, std::size_t outputSize, bool room) {
    using Step = huffman::StreamDecoder::Step;
    huffman::StreamDecoder decoder(stream.size());
    Decoding result;
    Bytes output(outputSize);
    std::size_t at = 0;
    Bytes copy;
    for (;;) {
        const Step step = decoder.Run();
        if (step == Step::Finished) break;
        if (step == Step::Yield) {
            result.yields.push_back(decoder.YieldPosition());
        } else if (step == Step::OutputFull) {
            result.output.insert(result.output.end(), output.begin(),
                                 output.begin() +
                                     static_cast<std::ptrdiff_t>(decoder.OutputUsed()));
            decoder.SetOutput(output.data(), output.size());
        } else {
            EXPECT_LT(at, stream.size());
            if (at >= stream.size()) break;
            const std::size_t count = std::min(piece, stream.size() - at);
            // Each piece in a buffer of its own, so reading outside it is caught.
            const std::size_t front = room ? huffman::StreamDecoder::kHeadroom : 0;
            copy.assign(front + count, 0xEE);
            std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), count,
                        copy.begin() + static_cast<std::ptrdiff_t>(front));
            decoder.SetInput(copy.data() + front, count, room);
            at += count;
        }
    }
    result.output.insert(result.output.end(), output.begin(),
                         output.begin() + static_cast<std::ptrdiff_t>(decoder.OutputUsed()));
    return result;
}

TEST(StreamDecoderPieces, AnyPieceAndOutputSizeGivesTheSameBytesAndYields) {
    for (const Bytes& data :
         {LongCodeData(24, 3), bench::MakeEnglishLikeText(50001, 4), Bytes(30000, 'a')}) {
        const Bytes stream = Encoded(data);
        const Decoding whole = DecodeInPieces(stream, stream.size(), data.size() + 8, false);
        ASSERT_TRUE(whole.output == data);
        for (std::size_t piece : {1u, 2u, 3u, 7u, 41u, 64u, 1000u, 9999u, 10001u}) {
            for (bool room : {false, true}) {
                for (std::size_t outputSize :
                     {std::size_t{1}, std::size_t{100}, std::size_t{65536}}) {
                    SCOPED_TRACE(testing::Message() << "piece " << piece << " room " << room
                                                    << " output " << outputSize);
                    const Decoding pieces = DecodeInPieces(stream, piece, outputSize, room);
                    ASSERT_TRUE(pieces.output == data);
                    ASSERT_EQ(pieces.yields, whole.yields);
                }
            }
        }
    }
}

TEST(StreamDecoderPieces, ADamagedHeadIsRefusedWhicheverPieceCompletesIt) {
    Bytes stream = Encoded(bench::MakeEnglishLikeText(5000, 5));
    stream[12] = 0; // a code length of 0
    for (std::size_t piece : {1u, 5u, 11u, 13u, 5000u}) {
        SCOPED_TRACE(piece);
        EXPECT_THROW(DecodeInPieces(stream, piece, 100, true), EngineError);
    }
    EXPECT_THROW(DecodeInPieces(Bytes{'H', 'E'}, 1, 10, false), EngineError);
}

// --- Chunk queues and workers ---------------------------------------------------------------

TEST(Workers, AFailureInOneWorkerStopsTheOthersAndReachesTheCaller) {
    stream::ChunkQueue queue;
    stream::Workers workers;
    workers.Watch(queue);
    workers.Start("test", [&] {
        stream::ChunkBuffer chunk;
        while (queue.Pop(chunk)) {
        }
    });
    workers.Start("test", [] { throw EngineError("worker failed"); });
    workers.WaitUntil([] { return false; });
    EXPECT_THROW(workers.RaiseIfFailed(), EngineError);
}

TEST(Workers, LeavingTheScopeEndsWaitingWorkers) {
    stream::ChunkQueue queue;
    std::atomic<bool> ended{false};
    {
        stream::Workers workers;
        workers.Watch(queue);
        workers.Start("test", [&] {
            stream::ChunkBuffer chunk;
            while (queue.Pop(chunk)) {
            }
            ended = true;
        });
    }
    EXPECT_TRUE(ended);
}

} // namespace
} // namespace vw
