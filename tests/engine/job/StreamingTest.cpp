// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Jobs over files of several chunks, on their worker threads: the files they write, their
// progress, cancels at any point, sources that change, and the restoring kinds alike.
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <numeric>
#include <thread>

#include "engine/codec/HuffmanFormat.h"
#include "engine/job/MemoryJobs.h"
#include "engine/job/RestoreSink.h"
#include "engine/job/StreamPipeline.h"
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
    // Nearly all zeros: about eight bytes out of every byte of the file, so that one thread of
    // the restore decrypts and the other only decodes.
    Bytes zeros(3 * kChunkSize + 7, 0);
    for (std::size_t k = 0; k < zeros.size(); k += 997)
        zeros[k] = static_cast<std::uint8_t>(k % 251 + 1);
    std::vector<Bytes> cases = {
        {0x42}, {'a', 'b'}, all, longCodes, RandomData(2 * kChunkSize + 1, 5), zeros};
    for (std::size_t n : {kChunkSize - 1, kChunkSize, kChunkSize + 1})
        cases.push_back(TextData(n, 2)), cases.push_back(Bytes(n - 4, 'x')); // stored: n bytes
    for (const Bytes& data : cases) {
        SCOPED_TRACE(data.size());
        WriteFile(dir / "data.bin", data);
        control.Clear();
        ASSERT_EQ(Run(dir / "data.bin", dir / "out.x"), dir / "out.vwx");
        ASSERT_TRUE(ReadFile(dir / "out.vwx") ==
                    ForgeVwx({.extension = "bin", .stream = Encoded(data)}, kPassword));
        EXPECT_EQ(control.busyCalls, (std::vector<bool>{true, false, true, false}));
        EXPECT_EQ(Run(dir / "out.vwx", dir / "back.x"), dir / "back.bin");
        EXPECT_TRUE(ReadFile(dir / "back.bin") == data);
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"back.bin", "data.bin", "out.vwx"}));
    }
}

// Progress only moves on and ends at 100 (the fixture checks that of every job); a protect's
// counting pass ends at 6, a restore's one pass at 99 before its result is in place.
TEST_F(Streaming, ProgressOfEachPass) {
    for (const Bytes& data : {TextData(30001, 1), Bytes(9997, 'x'), TextData(3 * kChunkSize, 2)}) {
        WriteFile(dir / "a.txt", data);
        control.Clear();
        const std::string p = Run(dir / "a.txt", dir / "a.txt");
        EXPECT_NE(std::find(control.progress.begin(), control.progress.end(), 6),
                  control.progress.end());
        control.Clear();
        EXPECT_EQ(Run(p, p), dir / "a.txt");
        ASSERT_GE(control.progress.size(), 2u);
        EXPECT_EQ(control.progress.end()[-2], 99);
    }
}

// A cancel at any yield or any report writes nothing: the job ends 11 or 21 (or, if it was done
// before that yield came, completes).
TEST_F(Streaming, ACancelAtAnyYieldOrReportWritesNothing) {
    const Bytes data = TextData(kChunkSize + 150000, 12);
    WriteFile(dir / "a.txt", data);
    const std::string p = Run(dir / "a.txt", dir / "keep.txt");
    control.Clear();
    std::filesystem::remove(Run(p, dir / "back.x"));
    const int restoreYields = control.yields;
    const auto before = dir.Entries();
    int cancelled = 0;
    for (const bool protect : {true, false}) {
        for (int at = 1; at <= std::max(restoreYields, 8); ++at) {
            for (const bool atReport : {false, true}) {
                control.Clear();
                int reports = 0;
                control.cancelAt = atReport ? 0 : at;
                control.act = [&] {
                    if (atReport && static_cast<int>(control.progress.size()) > reports &&
                        ++reports == at)
                        control.cancelled = true;
                };
                const std::string written =
                    protect ? Run(dir / "a.txt", dir / "c.txt") : Run(p, dir / "d.x");
                control.act = nullptr;
                if (result.Ok()) { // it ended before the cancel came
                    std::filesystem::remove(written);
                    continue;
                }
                ++cancelled;
                ASSERT_EQ(result.status, protect ? 11 : 21) << at;
                ASSERT_EQ(dir.Entries(), before) << at;
            }
        }
    }
    EXPECT_GT(cancelled, 10);
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
    // Yields: once on opening, once a chunk while counting.
    const int afterCounting = 1 + static_cast<int>(data.size() / kChunkSize);
    auto atYield = [&](int k) { return [&, k] { return control.yields == k; }; };
    auto atBusy = [&](std::size_t k) { return [&, k] { return control.busyCalls.size() == k; }; };
    auto atProgress = [&](int p) {
        return [&, p] { return !control.progress.empty() && control.progress.back() >= p; };
    };
    const std::tuple<const char*, std::function<bool()>, std::function<void()>, bool> cases[] = {
        {"grows while counted", atYield(2), append, false},
        {"grows by one byte while counted", atYield(2), appendOne, false},
        {"grows by one byte while coded", atProgress(20), appendOne, false},
        {"cut between the passes", atYield(afterCounting), cut, false},
        {"reordered between the passes", atYield(afterCounting), reorder, false},
        {"grows while encrypted", atProgress(80), append, false},
        {"grows before the commit", atBusy(3), append, false},
        {"grows after the commit", atBusy(4), append, true}};
    for (const auto& [label, when, change, outputKept] : cases) {
        SCOPED_TRACE(label);
        WriteFile(source, data);
        std::filesystem::last_write_time(source, std::filesystem::last_write_time(source) -
                                                     std::chrono::hours(1));
        control.Clear();
        Bytes changed;
        control.act = [&] {
            if (changed.empty() && when()) change(), changed = ReadFile(source);
        };
        EXPECT_EQ(Run(source, source), source);
        EXPECT_EQ(result.status, 12);
        EXPECT_EQ(result.failure.fault, outputKept ? Fault::SourceKept : Fault::SourceChanged);
        EXPECT_EQ(result.failure.path, source);
        EXPECT_TRUE(!changed.empty() && ReadFile(source) == changed);
        EXPECT_EQ(dir.Entries().size(), outputKept ? 2u : 1u);
        std::filesystem::remove(dir / "a.vwx");
    }
    // A protected file replaced while it is restored is kept as well.
    control.act = nullptr;
    const std::string p = Run(source, dir / "p.txt");
    control.Clear();
    control.act = [&] {
        if (control.yields == 1)
            WriteFile(dir / "n", "newer"), std::filesystem::rename(dir / "n", p);
    };
    EXPECT_EQ(Run(p, p), p);
    EXPECT_EQ(result.status, 22);
    EXPECT_EQ(result.failure, (Failure{Fault::SourceChanged, p}));
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
        {"a.vwx", kPassword, 0, 0},  {"a.vwx", "wrong horse", 0, 23}, {"sum.vwx", kPassword, 0, 5},
        {"a.vwx", kPassword, 1, 21}, {"ext.vwx", kPassword, 0, 22},   {"a.vwx", "abc", 0, 3}};
    for (const auto& [name, password, cancelAt, status] : cases) {
        SCOPED_TRACE(name + password + std::to_string(cancelAt));
        const auto before = dir.Entries();
        auto run = [&](JobKind kind, SecureBytes* memory = nullptr) {
            JobRequest request = RequestFor(dir / name, dir / "back.x", password);
            request.kind = kind;
            request.memory = memory;
            request.memoryLimit = data.size();
            control.Clear();
            control.cancelAt = cancelAt;
            const JobResult ended = RunJob(request, control);
            EXPECT_EQ(ended.status, status);
            return std::pair(ended.status, ended.failure);
        };
        const auto restore = run(JobKind::Restore);
        std::filesystem::remove(dir / "back.txt");
        EXPECT_EQ(run(JobKind::Test), restore);
        SecureBytes memory;
        EXPECT_EQ(run(JobKind::RestoreToMemory, &memory), restore);
        EXPECT_TRUE(Bytes(memory.begin(), memory.end()) == (status ? Bytes{} : data));
        EXPECT_EQ(dir.Entries(), before);
    }
    SecureBytes memory;
    JobRequest request = RequestFor(dir / "a.vwx", "", kPassword);
    request.kind = JobKind::RestoreToMemory;
    request.memory = &memory;
    request.memoryLimit = data.size();
    result = RunJob(request, control);
    EXPECT_EQ(memory.capacity(), data.size());
    EXPECT_EQ(result.extension, "txt");
    request.memoryLimit = data.size() - 1;
    result = RunJob(request, control);
    EXPECT_EQ(result.status, 22);
    // Of a file too large, its first bytes are kept to tell what it is.
    EXPECT_EQ(result.failure, (Failure{.fault = Fault::MemoryLimit,
                                       .value = static_cast<std::int64_t>(data.size()),
                                       .limit = static_cast<std::int64_t>(data.size() - 1)}));
    EXPECT_TRUE(Bytes(memory.begin(), memory.end()) ==
                Bytes(data.begin(), data.begin() + MemorySink::kKeptOfRefused));
}

// A protected file of one cipher step or less is restored on the calling thread, a larger one on
// workers, alike: files that end just before, on and just after a step and a piece, stored
// (their length exact) and coded (decoding to many times their length, past any one buffer).
TEST_F(Streaming, SmallFilesRestoreOnTheCallingThreadAndFilesOnBoundariesAlike) {
    const std::size_t step = stream::kCipherStep, piece = kChunkSize / 2;
    const std::size_t around = FixedHeader().size() + std::string("bin").size() + 7;
    std::vector<Bytes> cases = {Bytes(500000, 'a'), TextData(3000, 1)};
    cases[0][1000] = 'b'; // 500,000 one-bit codes: under 64 KiB coded
    for (const std::size_t length : {step - 1, step, step + 1, piece - 1, piece, piece + 1})
        cases.push_back(Bytes(length - around, 'x')); // stored: the file is `length` long
    for (const Bytes& data : cases) {
        SCOPED_TRACE(data.size());
        const Bytes file = ForgeVwx({.extension = "bin", .stream = Encoded(data)}, kPassword);
        WriteFile(dir / "a.vwx", file);
        std::atomic<int> workers{0};
        for (const int cancelAt : {0, 1}) {
            JobRequest request = RequestFor(dir / "a.vwx", dir / "back");
            request.workerEnding = [&] { ++workers; };
            control.Clear();
            control.cancelAt = cancelAt;
            workers = 0;
            Run(request);
            EXPECT_EQ(workers, file.size() > step ? 3 : 0);
            EXPECT_EQ(result.status, cancelAt ? 21 : 0);
            EXPECT_TRUE(cancelAt || ReadFile(dir / "back.bin") == data);
            std::filesystem::remove(dir / "back.bin");
            EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.vwx"});
        }
        control.Clear();
        control.cancelAt = 0;
        SecureBytes memory;
        MemorySink sink(memory, data.size());
        EXPECT_EQ(RestoreBytes(file, RequestFor("", ""), &sink, control).status, 0);
        EXPECT_TRUE(Bytes(memory.begin(), memory.end()) == data);
    }
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
    WriteFile(dir / "a.txt", TextData(3 * stream::kCipherStep, 1));
    // Protect: a coder and an encrypter; restore (of more than one cipher step): two decrypting
    // halves and a writer.
    for (const auto& [path, workers] : {std::pair(dir / "a.txt", 2), std::pair(dir / "a.vwx", 3)}) {
        endedWorkers = 0;
        int atCommit = -1;
        control.Clear();
        control.act = [&] {
            if (control.busyCalls.size() == 3 && atCommit < 0) atCommit = endedWorkers;
        };
        JobRequest request = RequestFor(path, path);
        request.workerEnding = [] {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            ++endedWorkers;
        };
        Run(request);
        EXPECT_EQ(result.status, 0);
        EXPECT_EQ(atCommit, workers) << path;
    }
}

} // namespace
} // namespace vw::test
