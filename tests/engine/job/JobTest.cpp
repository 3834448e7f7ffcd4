// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Protect and restore as the desktop program's driver runs them: the names they write, which
// files stay, what they refuse and replace, and how they fail.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <numeric>
#include <optional>
#include <thread>

#include "engine/format/VwxFormat.h"
#include "engine/io/FileIO.h"
#include "engine/io/Paths.h"
#include "engine/job/MemoryJobs.h"
#include "engine/job/RestoreSink.h"
#include "engine/job/StreamPipeline.h"
#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

using Names = std::vector<std::string>;

TEST_F(JobTest, OutputNamesAndWhichFilesStay) {
    struct Case {
        std::string source, output, written, restoreTo, restored;
        Names existing, after;
    };
    const Case cases[] = {
        // The extension comes back in lower case under the output's name; choosing the source
        // as the output path replaces it. A dot in a folder's name starts no extension.
        {"Photo.JPG", "Photo.JPG", "Photo.vwx", "Copy", "Copy.jpg", {}, {"Copy.jpg", "Photo.vwx"}},
        {"README", "README", "README.vwx", "README.vwx", "README", {}, {"README"}},
        {"dotted.", "dotted.", "dotted.vwx", "dotted.vwx", "dotted", {}, {"dotted"}},
        {"my.d/f", "my.d/f", "my.d/f.vwx", "my.d/f.vwx", "my.d/f", {}, {"f"}},
        // Another output path keeps the source and replaces files there; no added permissions.
        {"b", "c", "c.vwx", "r.x", "r", {"c.vwx", "r"}, {"b", "c.vwx", "r"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        dir.Clear();
        std::filesystem::create_directories(dir / FolderOf(c.source));
        for (const std::string& name : c.existing)
            WriteFile(dir / name, "old");
        WriteFile(dir / c.source, "text");
        ::chmod((dir / c.source).c_str(), 0600);
        EXPECT_EQ(Run(dir / c.source, dir / c.output), dir / c.written);
        EXPECT_EQ(FileExists(dir / c.source), c.source != c.output);
        EXPECT_EQ(FilePermissions(dir / c.written), 0600u);
        ::chmod((dir / c.written).c_str(), 0640);
        EXPECT_EQ(Run(dir / c.written, dir / c.restoreTo), dir / c.restored);
        EXPECT_EQ(ReadFile(dir / c.restored), Bytes({'t', 'e', 'x', 't'}));
        EXPECT_EQ(FilePermissions(dir / c.restored), 0640u);
        EXPECT_EQ(dir.Entries(FolderOf(c.source)), c.after);
    }
}

TEST_F(JobTest, ForgedFilesAreRefusedOnlyOnceTheirCheckValuesAgree) {
    const Bytes good = Encoded(TextData(2 * stream::kChunkSize + 3, 16));
    auto damaged = [&](std::size_t at, int value) {
        Bytes s = good;
        s[at] = static_cast<std::uint8_t>(value);
        return s;
    };
    // Header and extension may take up to 32766 bytes (no file system takes such a name).
    const std::string longest(vwx::kMaxDataStart - 1 - FixedHeader().size(), 'x');
    const auto invalid = [](const char* shown) {
        return Failure{.fault = Fault::StoredExtensionInvalid, .shown = shown};
    };
    const Failure none, damagedStream{Fault::StreamDamaged};
    const Failure tooLongName{
        .fault = Fault::OutputReplace, .path = dir / ("in/out." + longest), .error = ENAMETOOLONG};
    const std::tuple<std::string, bool, Bytes, int, Failure> cases[] = {
        {longest, true, good, 22, tooLongName},
        {longest + "x", true, good, 22, Failure{Fault::HeadTooLong}},
        {"txt", false, good, 22, Failure{Fault::StoredExtensionUnended}},
        {"txt", true, damaged(2, '7'), 22, Failure{Fault::StreamNotIdentified}},
        {"txt", true, damaged(10, 0x80), 22, damagedStream},
        {"txt", true, damaged(12, good[12] + 1), 22, damagedStream},
        {"txt", true, damaged(4, good[4] ^ 0x20), 5, none}, // the checksum
        {"txt", true, Bytes(good.begin(), good.end() - 1000), 5, none},
        // Extensions that could leave the folder or hold control characters, shown escaped.
        {"/../../evil", true, good, 22, invalid("/../../evil")},
        {"..", true, good, 22, invalid("..")},
        {".", true, good, 22, invalid(".")},
        {"a/b", true, good, 22, invalid("a/b")},
        {"\x1b[31m", true, good, 22, invalid("\\x1b[31m")},
        {"txt\n", true, good, 22, invalid("txt\\x0a")},
        {"\x7f", true, good, 22, invalid("\\x7f")},
        {"\x9d", true, good, 22, invalid("\\x9d")},
        {"\xe9t\x01\xe9", true, good, 22, invalid("\xc3\xa9t\\x01\xc3\xa9")}};
    std::filesystem::create_directory(dir / "in");
    for (const auto& [extension, terminated, stream, status, failure] : cases) {
        SCOPED_TRACE(static_cast<int>(failure.fault));
        for (const bool agree : {true, false}) {
            VwxParts parts{.extension = extension, .terminated = terminated, .stream = stream};
            if (!agree) parts.trailer = {{0, 0}};
            WriteFile(dir / "in/f.vwx", ForgeVwx(parts, kPassword));
            control.Clear();
            EXPECT_EQ(Run(dir / "in/f.vwx", dir / "in/out"), dir / "in/f.vwx");
            EXPECT_EQ(result.status, agree ? status : 23);
            Failure found = result.failure;
            if (failure.fault == Fault::StreamDamaged) // how it is damaged is the codec's test
                found.stream = {}, found.value = found.limit = 0;
            EXPECT_EQ(found, agree ? failure : none);
            // Differing check values are found only once the whole data is decrypted.
            EXPECT_TRUE(agree || !terminated || control.progress.back() == 99);
            EXPECT_EQ(dir.Entries(), Names{"in"});
            EXPECT_EQ(dir.Entries("in"), Names{"f.vwx"});
        }
    }
}

TEST_F(JobTest, WrongPasswordsAreAlways23AndWriteNothing) {
    for (const std::size_t size : {1u, 20u, 90u, 400u, 3000u}) {
        WriteFile(dir / "a.vwx", ForgeVwx({.stream = Encoded(TextData(size, 6))}, kPassword));
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(Run(dir / "a.vwx", dir / "a.vwx", "wrong " + std::to_string(i)),
                      dir / "a.vwx");
            ASSERT_EQ(result.status, 23) << "size " << size << ", password " << i;
        }
        EXPECT_EQ(dir.Entries(), Names{"a.vwx"});
    }
}

TEST_F(JobTest, RefusedOverwriteKeepsEveryExistingFile) {
    WriteFile(dir / "a.txt", "plain");
    const std::string p = Run(dir / "a.txt", dir / "p.txt");
    // x.vwx restores onto itself.
    WriteFile(dir / "x.vwx", ForgeVwx({.extension = "vwx", .stream = Encoded({'x'})}, kPassword));
    WriteFile(dir / "a.vwx", "old");
    WriteFile(dir / "r.txt", "old");
    // Source, output, password, the file that stays and the status. Where no such file is there
    // yet (n.vwx, m.txt), it appears while the job runs.
    const std::tuple<std::string, std::string, std::string, std::string, int> cases[] = {
        {dir / "a.txt", dir / "a.txt", kPassword, dir / "a.vwx", 12},
        {p, dir / "r.any", kPassword, dir / "r.txt", 22},
        {p, dir / "r.any", "wrong horse", "", 23},
        {dir / "x.vwx", dir / "x.any", kPassword, dir / "x.vwx", 22}, // the source, not asked
        {dir / "a.txt", dir / "n.txt", kPassword, dir / "n.vwx", 12},
        {p, dir / "m.any", kPassword, dir / "m.txt", 22}};
    for (const auto& [source, output, password, kept, status] : cases) {
        SCOPED_TRACE(output);
        const bool appears = !kept.empty() && !FileExists(kept);
        auto before = dir.Snapshot();
        if (appears) before[FileNameOf(kept)] = {'n', 'e', 'w'};
        control.yields = 0;
        control.act = [&] {
            if (appears && control.yields == 1) WriteFile(kept, "new");
        };
        EXPECT_EQ(Run(source, output, password, "", Overwrite::Refused), source);
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.failure, (kept.empty() ? Failure{} : Failure{Fault::OutputExists, kept}));
        EXPECT_EQ(dir.Snapshot(), before);
    }
    control.act = nullptr;
    control.yields = 0;
    Run(dir / "a.txt", dir / "a.txt", kPassword, "", Overwrite::Refused);
    EXPECT_EQ(control.yields, 0); // refused before the source is read
    // The source itself is replaced when the caller asks for that.
    EXPECT_EQ(Run(dir / "x.vwx", dir / "x.vwx", kPassword, "", Overwrite::Refused), dir / "x.vwx");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(ReadFile(dir / "x.vwx"), Bytes{'x'});
}

// The desktop program names the one existing file the user agreed to replace; the result
// replaces nothing else, and its path can be known before the job runs.
TEST_F(JobTest, OnlyTheConfirmedPathIsReplaced) {
    WriteFile(dir / "a.txt", "plain");
    const std::string p = Run(dir / "a.txt", dir / "p.txt");
    WriteFile(dir / "victim.vwx", "old");
    WriteFile(dir / "victim.txt", "old");
    EXPECT_EQ(ResultPathOf(RequestFor(dir / "a.txt", dir / "victim")), dir / "victim.vwx");
    EXPECT_EQ(ResultPathOf(RequestFor(p, dir / "victim")), dir / "victim.txt");
    WriteFile(dir / "short.vwx", "ab");
    EXPECT_EQ(ResultPathOf(RequestFor(dir / "short.vwx", dir / "victim")), "");
    for (const std::string& source : {dir / "a.txt", p}) {
        const std::string written = ResultPathOf(RequestFor(source, dir / "victim"));
        SCOPED_TRACE(written);
        EXPECT_EQ(
            Run(source, dir / "victim", kPassword, "", Overwrite::OnlyConfirmed(dir / "victim")),
            source);
        EXPECT_EQ(result.failure, (Failure{Fault::OutputExists, written}));
        EXPECT_EQ(ReadFile(written), Bytes({'o', 'l', 'd'}));
        EXPECT_EQ(Run(source, dir / "victim", kPassword, "", Overwrite::OnlyConfirmed(written)),
                  written);
        EXPECT_EQ(result.status, 0);
    }
    EXPECT_EQ(ReadFile(dir / "victim.txt"), Bytes({'p', 'l', 'a', 'i', 'n'}));
}

// 2 GiB are refused before reading. 2147483494 zeros are stored in m = N + 4 bytes: with this
// test's header of 41 bytes the file would fit, with the longest header (255) it would not, so it
// is refused once counted, before anything is written, whatever header the writer draws.
TEST_F(JobTest, FilesTooLongForTheFormatAreRefusedBeforeAnythingIsWritten) {
    EXPECT_TRUE(vwx::FitsTheFormat(255, 3, 2147483386));
    EXPECT_FALSE(vwx::FitsTheFormat(255, 3, 2147483387));
    for (const std::int64_t size : {0x80000000LL, 2147483494LL}) {
        WriteFile(dir / "big.bin", "");
        ASSERT_EQ(::truncate((dir / "big.bin").c_str(), size), 0);
        control.Clear();
        EXPECT_EQ(Run(dir / "big.bin", dir / "big.bin"), dir / "big.bin");
        EXPECT_EQ(result.status, 12);
        EXPECT_EQ(result.failure, (Failure{Fault::SourceTooLarge, dir / "big.bin"}));
        EXPECT_EQ(control.busyCalls.empty(), size > vwx::kMaxFileLength);
        EXPECT_LE(control.progress.empty() ? 0 : control.progress.back(), 6); // nothing was coded
        EXPECT_EQ(dir.Entries(), Names{"big.bin"});
    }
}

// Ending while a worker still waits on a queue: the worker is stopped, not waited for forever.
TEST(Workers, EndingWhileAWorkerWaitsStopsIt) {
    auto ended = std::make_shared<std::atomic<bool>>(false);
    std::thread([ended] {
        stream::ChunkQueue queue;
        std::optional<stream::Workers> workers(std::in_place);
        workers->Watch(queue);
        workers->Start("vw-test", [&queue] {
            stream::ChunkBuffer c;
            queue.Pop(c);
        });
        workers.reset();
        *ended = true;
    }).detach();
    for (int i = 0; i < 500 && !*ended; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_TRUE(*ended) << "the worker was never stopped";
}

TEST_F(JobTest, PasswordFirstThenMissingAndEmptySourcesThenTheJob) {
    const std::string missing = dir / "missing.txt", empty = dir / "empty.txt";
    WriteFile(empty, "");
    const std::tuple<std::string, const char*, int> cases[] = {
        {missing, "abcd", 3},
        {missing, "secret1", 4},
        {dir.path().string(), "secret1", 4}, // a folder is no source file
        {empty, "secret1", 6}};
    for (const auto& [path, password, status] : cases) {
        EXPECT_EQ(Run(path, path, password), path);
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.failure, Failure{});
    }
    EXPECT_EQ(control.yields, 0);
    WriteFile(dir / "a.txt", "hello world");
    EXPECT_EQ(Run(dir / "a.txt", dir / "b.txt"), dir / "b.vwx");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.txt", "b.vwx", "empty.txt"}));
}

TEST_F(JobTest, EveryDamageFailsAndDifferingCheckValuesAreTheUsualOutcome) {
    for (const std::size_t size : {400u, 600000u}) {
        WriteFile(dir / "source.txt", TextData(size, 11));
        const Bytes good = ReadFile(Run(dir / "source.txt", dir / "source.txt"));
        dir.Clear();
        std::vector<std::size_t> at(size < 1000 ? good.size() : 40);
        std::iota(at.begin(), at.end(), std::size_t{0}); // for the large file: its head, then
        std::mt19937 rng(7);                             // the end and samples from the rest
        for (std::size_t k = 20; size > 1000 && k < at.size(); ++k)
            at[k] = k < 23 ? good.size() - 1 - (k - 20) : rng() % good.size();
        std::vector<Bytes> damaged = {good, good};
        damaged[1].push_back(0);
        for (std::size_t pos : at) {
            damaged.push_back(good);
            damaged.back()[pos] ^= static_cast<std::uint8_t>(1u << (pos % 8));
            if (pos > 0) damaged.emplace_back(good.begin(), good.begin() + static_cast<long>(pos));
        }
        std::size_t status23 = 0;
        for (std::size_t k = 0; k < damaged.size(); ++k) {
            WriteFile(dir / "damaged.vwx", damaged[k]);
            const std::string written = Run(dir / "damaged.vwx", dir / "out.x");
            if (k == 0) { // the undamaged file restores
                EXPECT_EQ(written, dir / "out.txt");
                std::filesystem::remove(written);
                continue;
            }
            EXPECT_TRUE(result.status == 23 || result.status == 22 || result.status == 5)
                << k << ": " << result.status;
            EXPECT_EQ(dir.Entries(), std::vector<std::string>{"damaged.vwx"});
            status23 += result.status == 23;
        }
        EXPECT_GT(status23 * 3, damaged.size() * 2);
    }
}

// A full disk (a size limit) or an output path taken by a folder or gone: a status, no change.
TEST_F(JobTest, FailedWritesKeepEveryExistingFile) {
    WriteFile(dir / "a.bin", RandomData(300000, 1));
    const std::string p = Run(dir / "a.bin", dir / "p.bin");
    WriteFile(dir / "a.vwx", "an older protected copy");
    std::filesystem::create_directory(dir / "d.vwx");
    const auto before = dir.Snapshot();
    const std::tuple<std::string, std::string, rlim_t, int, Failure> cases[] = {
        // source, output, the size this process may write (as on a full disk), status, failure
        {dir / "a.bin", dir / "a.bin", 65536, 12, {Fault::OutputWrite, dir / "a.vwx", {}, EFBIG}},
        {p, p, 65536, 22, {Fault::OutputWrite, dir / "p.bin", {}, EFBIG}},
        {dir / "a.bin",
         dir / "d.bin",
         RLIM_INFINITY,
         12,
         {Fault::OutputReplace, dir / "d.vwx", {}, EISDIR}}, // a folder is there
        {dir / "a.bin",
         dir / "gone/a.bin",
         RLIM_INFINITY,
         12,
         {Fault::OutputCreate, dir / "gone/", {}, ENOENT}}};
    for (const auto& [source, output, fileSize, status, failure] : cases) {
        SCOPED_TRACE(output);
        rlimit saved{}, limit{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        limit = {fileSize, saved.rlim_max};
        const sighandler_t handler = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_EQ(Run(source, output), source);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ::signal(SIGXFSZ, handler);
        EXPECT_EQ(result.status, status);
        EXPECT_EQ(result.failure, failure);
        EXPECT_EQ(dir.Snapshot(), before);
    }
}

// Descriptors, and memory mapped outside the heap (which leak checkers do not watch).
TEST_F(JobTest, HundredsOfJobsLeakNoDescriptorsAndNoMemory) {
    auto usage = [] { // open descriptors, resident pages
        long size = 0, resident = 0;
        std::ifstream("/proc/self/statm") >> size >> resident;
        return std::pair(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}),
                         resident * (::sysconf(_SC_PAGESIZE) / 1024));
    };
    WriteFile(dir / "a.txt", TextData(3000, 3));
    std::pair<long, long> before;
    for (int i = 0; i < 170; ++i) {
        if (i == 20) before = usage(); // once allocator pools have warmed up
        ASSERT_EQ(Run(dir / "a.txt", dir / "b.txt"), dir / "b.vwx");
        ASSERT_EQ(Run(dir / "b.vwx", dir / "c.x"), dir / "c.txt");
        ASSERT_EQ(Run(dir / "b.vwx", dir / "c.x", "wrong password"), dir / "b.vwx");
    }
    EXPECT_EQ(usage().first, before.first);
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer keeps freed memory in quarantine
    EXPECT_LT(usage().second - before.second, 2048);
#endif
}

// The restore fuzzer's corpus, each input made into the file the harness makes of it (the rest
// encrypted when the first byte is odd) and restored by the file job: it ends as the memory job
// does (but where only a file job has a path to fail on), writes its result beside the output
// path or, failing, nothing at all, and a failure's text holds no control character.
TEST_F(JobTest, TheRestoreCorpusEndsAsInMemoryAndAFailedFileJobWritesNothing) {
    struct Collect : RestoreSink {
        void Write(const std::uint8_t* data, std::size_t count) override {
            bytes.insert(bytes.end(), data, data + count);
        }
        Bytes bytes;
    };
    const std::string password = "fuzzing password", privateCode = "pcm";
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(VW_FUZZ_CORPUS "/restore"))
        inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    ASSERT_GE(inputs.size(), 6u);
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.filename().string());
        const Bytes bytes = ReadFile(input.string());
        if (bytes.size() < 2) continue; // no file, or an empty one, which no job opens
        Bytes file(bytes.begin() + 1, bytes.end());
        if (bytes[0] & 1) file = Encrypted(std::move(file), password, privateCode);
        WriteFile(dir / "in.vwx", file);
        const std::string written = Run(dir / "in.vwx", dir / "out", password, privateCode);
        Collect sink;
        const JobResult memory =
            RestoreBytes(file, RequestFor("", "", password, privateCode), &sink, control);
        const Fault onlyAFileJobs[] = {Fault::OutputCreate,  Fault::FolderRefusesFiles,
                                       Fault::OutputWrite,   Fault::OutputRename,
                                       Fault::OutputReplace, Fault::OutputExists};
        if (std::find(std::begin(onlyAFileJobs), std::end(onlyAFileJobs), result.failure.fault) ==
            std::end(onlyAFileJobs)) {
            EXPECT_EQ(result.status, memory.status);
            EXPECT_EQ(result.failure, memory.failure);
        }
        for (const char c : result.failure.shown)
            EXPECT_FALSE(static_cast<unsigned char>(c) < 32 || c == 127);
        if (result.Ok()) {
            EXPECT_EQ(std::filesystem::path(written).parent_path(), dir.path());
            EXPECT_EQ(dir.Entries().size(), 2u);
            EXPECT_TRUE(ReadFile(written) == sink.bytes);
            std::filesystem::remove(written);
        }
        EXPECT_EQ(dir.Entries(), Names{"in.vwx"});
    }
}

} // namespace
} // namespace vw::test
