// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Jobs go through their files in chunks on worker threads: the very bytes of the buffer-level
// codec and cipher across chunk edges, the exact progress and yields, a cancel at every yield
// point, sources that change under the job, workers that end late.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <numeric>
#include <thread>

#include "engine/HuffmanFormat.h"
#include "engine/ProtectedFile.h"
#include "engine/RestoreSink.h"
#include "engine/StreamPipeline.h"
#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

using stream::kChunkSize;
using Streaming = JobTest;

TEST_F(Streaming, FilesAreThoseTheBufferLevelCodecAndCipherGive) {
    Bytes all(256), longCodes = LongCodeData(31, 6);
    std::iota(all.begin(), all.end(), std::uint8_t{0});
    // Long codes, with the rarest values right at the chunk edges.
    for (std::size_t k = 1; k * kChunkSize + 2 < longCodes.size(); ++k) {
        std::swap(longCodes[k * kChunkSize - 1], *std::find(longCodes.begin(), longCodes.end(), 0));
        std::swap(longCodes[k * kChunkSize + 1], *std::find(longCodes.begin(), longCodes.end(), 7));
    }
    ASSERT_GE(Encoded(longCodes)[12], 29); // the code length of the rarest value
    std::vector<Bytes> cases = {
        {0x42}, {'a', 'b'}, all, longCodes, RandomData(2 * kChunkSize + 1, 5)};
    for (std::size_t n : {kChunkSize - 1, kChunkSize, kChunkSize + 1})
        cases.push_back(TextData(n, 2)), cases.push_back(Bytes(n - 4, 'x')); // stored: n bytes
    for (const Bytes& data : cases) {
        SCOPED_TRACE(data.size());
        WriteFile(dir / "data.bin", data);
        ClearRecords();
        ASSERT_EQ(Run(dir / "data.bin", dir / "out.x"), dir / "out.vwx");
        ASSERT_TRUE(ReadFile(dir / "out.vwx") ==
                    ForgeVwx({.extension = "bin", .stream = Encoded(data)}, kPassword));
        EXPECT_EQ(host.busyCalls, (std::vector<bool>{true, false, true, false}));
        EXPECT_EQ(Run(dir / "out.vwx", dir / "back.x"), dir / "back.bin");
        EXPECT_TRUE(ReadFile(dir / "back.bin") == data);
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"back.bin", "data.bin", "out.vwx"}));
    }
}

// A protect yields once before reading, while counting every 1000 bytes (0 to 3 %), during the
// checksum and coding every 10000 (3 to 6, 6 to 50) and while encrypting the stream of m bytes
// every 5000 (56 to 100). A restore yields while decrypting every 5000 (0 to 50), at every
// 10000th stream byte decoded (45 to 95) and during the checksum every 10000 (50 to 100). Stored
// data is neither coded nor checksummed.
TEST_F(Streaming, ProgressAndYieldsOfSmallJobs) {
    const std::tuple<Bytes, int, std::vector<int>, int, std::vector<int>> cases[] = {
        {TextData(30001, 1),
         44,
         {1, 2, 3, 4, 5, 6, 21, 35, 50, 56, 70, 84, 98}, // m = 15833
         9,
         {16, 32, 47, 77, 50, 67, 83, 100}},
        {Bytes(9997, 'x'), 14, {1, 2, 3, 56, 78, 100}, 3, {25, 50}}}; // m = 10001
    for (const auto& [data, protectEvents, protect, restoreEvents, restore] : cases) {
        WriteFile(dir / "a.txt", data);
        ClearRecords();
        const std::string p = Run(dir / "a.txt", dir / "a.txt");
        EXPECT_EQ(host.progress, protect);
        EXPECT_EQ(host.eventCalls, protectEvents);
        ClearRecords();
        EXPECT_EQ(Run(p, p), dir / "a.txt");
        EXPECT_EQ(host.progress, restore);
        EXPECT_EQ(host.eventCalls, restoreEvents);
    }
}

TEST_F(Streaming, CancelAtEveryYieldOfAMultiChunkJobWritesNothing) {
    const Bytes data = TextData(kChunkSize + 150000, 12);
    const std::size_t n = data.size(), m = Encoded(data).size();
    WriteFile(dir / "a.txt", data);
    const std::string p = Run(dir / "a.txt", dir / "keep.txt");
    const int protectEvents = host.eventCalls;
    EXPECT_EQ(protectEvents, 1 + (n + 999) / 1000 + 2 * ((n + 9999) / 10000) + (m + 4999) / 5000);
    host.eventCalls = 0;
    std::filesystem::remove(Run(p, dir / "back.x"));
    const int restoreEvents = host.eventCalls;
    const auto before = dir.Entries();
    const int counting = static_cast<int>((n - 1) / 1000 + 2);
    // Counting yields every 1000 bytes: a sample of them, every yield of the other stages. A
    // cancel in the events before reading takes effect at the first yield.
    for (int at = 1; at <= protectEvents + restoreEvents; at += at < counting - 3 ? 37 : 1) {
        const bool protect = at <= protectEvents;
        host.eventCalls = 0;
        host.CancelAt(protect ? at : at - protectEvents);
        EXPECT_EQ(protect ? Run(dir / "a.txt", dir / "a.txt") : Run(p, p),
                  protect ? dir / "a.txt" : p);
        ASSERT_EQ(JobStatus, protect ? 11 : 21) << at;
        EXPECT_EQ(StatusMessage, "Elaborazione interrota");
        ASSERT_EQ(host.eventCalls, protect ? std::max(at, 2) : at - protectEvents);
        ASSERT_EQ(dir.Entries(), before) << at;
    }
    EXPECT_TRUE(ReadFile(dir / "a.txt") == data);
}

TEST_F(Streaming, ASourceThatChangesIsNeverDeletedNorCut) {
    const Bytes data = TextData(2 * kChunkSize, 13);
    const std::string source = dir / "a.txt";
    auto append = [&] { std::ofstream(source, std::ios::app) << "one more line\n"; };
    auto appendOne = [&] { std::ofstream(source, std::ios::app) << 'x'; };
    auto reorder = [&] { // the same bytes in another order: only the file's times tell
        Bytes changed = data;
        std::reverse(changed.begin(), changed.begin() + 1000);
        WriteFile(source, changed);
    };
    auto cut = [&] { ASSERT_EQ(::truncate(source.c_str(), kChunkSize + 10), 0); };
    const int afterCounting = static_cast<int>((data.size() - 1) / 1000 + 3);
    auto atEvent = [&](int k) { return [&, k] { return host.eventCalls == k; }; };
    auto atBusy = [&](std::size_t k) { return [&, k] { return host.busyCalls.size() == k; }; };
    const std::tuple<const char*, std::function<bool()>, std::function<void()>, bool> cases[] = {
        {"grows while counted", atEvent(2), append, false},
        {"grows by one byte while counted", atEvent(2), appendOne, false},
        {"grows by one byte while coded", [&] { return host.progress.back() == 20; }, appendOne,
         false},
        {"cut between the passes", atEvent(afterCounting), cut, false},
        {"reordered between the passes", atEvent(afterCounting), reorder, false},
        {"grows while encrypted", [&] { return host.progress.back() == 80; }, append, false},
        {"grows before the commit", atBusy(3), append, false},
        {"grows after the commit", atBusy(4), append, true}};
    for (const auto& [label, when, change, outputKept] : cases) {
        SCOPED_TRACE(label);
        WriteFile(source, data);
        std::filesystem::last_write_time(source, std::filesystem::last_write_time(source) -
                                                     std::chrono::hours(1));
        ClearRecords();
        host.progress = {0};
        Bytes changed;
        host.act = [&] {
            if (changed.empty() && when()) change(), changed = ReadFile(source);
        };
        EXPECT_EQ(Run(source, source), source);
        EXPECT_EQ(JobStatus, 12);
        EXPECT_NE(ErrorDescription.find("changed during the job"), std::string::npos);
        EXPECT_TRUE(!changed.empty() && ReadFile(source) == changed);
        EXPECT_EQ(dir.Entries().size(), outputKept ? 2u : 1u);
        std::filesystem::remove(dir / "a.vwx");
    }
    // A protected file replaced while it is restored is kept as well.
    host.act = nullptr;
    const std::string p = Run(source, dir / "p.txt");
    host.eventCalls = 0;
    host.act = [&] {
        if (host.eventCalls == 1)
            WriteFile(dir / "n", "newer"), std::filesystem::rename(dir / "n", p);
    };
    EXPECT_EQ(Run(p, p), p);
    EXPECT_EQ(JobStatus, 22);
    EXPECT_EQ(dir.Snapshot(), (std::map<std::string, Bytes>{{"a.txt", ReadFile(source)},
                                                            {"p.vwx", {'n', 'e', 'w', 'e', 'r'}}}));
}

// Testing a file and restoring it into memory end as the restore does and write nothing.
TEST_F(Streaming, TestAndMemoryRestoresEndAsTheRestoreDoes) {
    const Bytes data = TextData(kChunkSize + 5000, 3);
    Bytes badSum = Encoded(data);
    badSum[huffman::kChecksumAt] ^= 1;
    WriteFile(dir / "a.vwx", ForgeVwx({.stream = Encoded(data)}, kPassword));
    WriteFile(dir / "sum.vwx", ForgeVwx({.stream = badSum}, kPassword));
    WriteFile(dir / "ext.vwx", ForgeVwx({.extension = "..", .stream = Encoded(data)}, kPassword));
    const std::tuple<std::string, std::string, int, int> cases[] = {
        {"a.vwx", kPassword, 0, 0},   {"a.vwx", "wrong horse", 0, 23}, {"sum.vwx", kPassword, 0, 5},
        {"a.vwx", kPassword, 30, 21}, {"ext.vwx", kPassword, 0, 22},   {"a.vwx", "abc", 0, 3}};
    for (const auto& [name, password, cancelAt, status] : cases) {
        SCOPED_TRACE(name + password + std::to_string(cancelAt));
        const auto before = dir.Entries();
        auto run = [&](const std::function<void()>& job) {
            host.eventCalls = 0, host.CancelAt(cancelAt);
            EXPECT_EQ(RunChecked(dir / name, password, job), status);
            return std::pair(ErrorDescription, StatusMessage);
        };
        const auto restore = run([&] { RestoreFile(dir / name, dir / "back.x", password, ""); });
        std::filesystem::remove(dir / "back.txt");
        EXPECT_EQ(run([&] { TestProtectedFile(dir / name, password, ""); }), restore);
        RestoredBytes memory;
        EXPECT_EQ(run([&] { RestoreIntoMemory(dir / name, password, "", data.size(), memory); }),
                  restore);
        EXPECT_TRUE(Bytes(memory.bytes.begin(), memory.bytes.end()) == (status ? Bytes{} : data));
        EXPECT_EQ(dir.Entries(), before);
    }
    RestoredBytes memory;
    RestoreIntoMemory(dir / "a.vwx", kPassword, "", data.size(), memory);
    EXPECT_EQ(memory.bytes.capacity(), data.size());
    EXPECT_EQ(memory.extension, "txt");
    EXPECT_FALSE(memory.tooLarge);
    EXPECT_EQ(RestoreIntoMemory(dir / "a.vwx", kPassword, "", data.size() - 1, memory), 22);
    // Of a file too large, its first bytes are kept to tell what it is.
    EXPECT_TRUE(memory.tooLarge);
    EXPECT_TRUE(Bytes(memory.bytes.begin(), memory.bytes.end()) ==
                Bytes(data.begin(), data.begin() + MemorySink::kKeptOfRefused));
    EXPECT_NE(ErrorDescription.find(std::to_string(data.size())), std::string::npos);
}

// A worker that computes without waiting on a queue sees the abort of its job.
TEST(Workers, AWorkerBusyComputingSeesTheAbort) {
    stream::Workers workers;
    std::atomic<bool> started{false}, sawAbort{false};
    workers.Start("vw-test", [&] {
        started = true;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!workers.Aborted() && std::chrono::steady_clock::now() < deadline) {
        }
        sawAbort = workers.Aborted();
    });
    while (!started)
        std::this_thread::yield();
    workers.Abort();
    workers.Finish();
    EXPECT_TRUE(sawAbort);
}

std::atomic<int> endedWorkers{0};

TEST_F(Streaming, EveryWorkerHasEndedBeforeTheResultIsCommitted) {
    hooks::WorkerEnding = [] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ++endedWorkers;
    };
    WriteFile(dir / "a.txt", TextData(3000, 1));
    // Protect: a coder and an encrypter; restore: two decrypting halves and a writer.
    for (const auto& [path, workers] : {std::pair(dir / "a.txt", 2), std::pair(dir / "a.vwx", 3)}) {
        endedWorkers = 0;
        int atCommit = -1;
        host.busyCalls.clear();
        host.act = [&] {
            if (host.busyCalls.size() == 3 && atCommit < 0) atCommit = endedWorkers;
        };
        Run(path, path);
        EXPECT_EQ(JobStatus, 0);
        EXPECT_EQ(atCommit, workers) << path;
    }
}

} // namespace
} // namespace vw::test
