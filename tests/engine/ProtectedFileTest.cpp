// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Protect and restore through ProcessFile, the mouse entropy pool and the driver's checks.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <numeric>
#include <thread>

#include "engine/FileIO.h"
#include "engine/Paths.h"
#include "engine/ProtectedFile.h"
#include "engine/ProtectedFileHooks.h"
#include "engine/StreamPipeline.h"
#include "engine/VwxFormat.h"
#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

using ProtectedFileTest = JobTest;
using Names = std::vector<std::string>;

TEST_F(ProtectedFileTest, OutputNamesAndWhichFilesStay) {
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

// Whatever a source's extension holds, what protect writes restore reads back; an extension no
// restore could put back in a file name (a control character) is refused before anything is
// written, and the only copy stays.
TEST_F(ProtectedFileTest, EveryExtensionRestoresOrIsRefusedBeforeWriting) {
    std::vector<std::string> extensions = {"отчёт", "文本", "ǅž", "€‰", "t\u202Et", "t\u0081t"};
    for (int byte = 1; byte < 256; ++byte) {
        std::string extension = "t?t";
        extension[1] = static_cast<char>(byte);
        if (byte != '/') extensions.push_back(extension);
    }
    int refused = 0;
    for (const std::string& extension : extensions) {
        dir.Clear();
        const std::string source = dir / ("a." + extension);
        WriteFile(source, "only copy of " + extension);
        const std::string vwx = Run(source, source);
        if (JobStatus != 0) {
            ++refused;
            EXPECT_EQ(JobStatus, 12) << extension;
            EXPECT_NE(ErrorDescription.find("control character"), std::string::npos);
            EXPECT_EQ(dir.Entries(), Names{FileNameOf(source)});
            continue;
        }
        const std::string back = Run(vwx, vwx);
        ASSERT_EQ(JobStatus, 0) << extension << ": " << ErrorDescription;
        const std::string text = "only copy of " + extension;
        EXPECT_EQ(ReadFile(back), Bytes(text.begin(), text.end()));
        EXPECT_EQ(dir.Entries(), Names{FileNameOf(back)});
    }
    // C0 and DEL, and U+0081 (a byte above 127 alone is no character and becomes "?").
    EXPECT_EQ(refused, 31 + 1 + 1);
}

TEST_F(ProtectedFileTest, ForgedFilesAreRefusedOnlyOnceTheirCheckValuesAgree) {
    const Bytes good = Encoded(TextData(2 * stream::kChunkSize + 3, 16));
    auto damaged = [&](std::size_t at, int value) {
        Bytes s = good;
        s[at] = static_cast<std::uint8_t>(value);
        return s;
    };
    // Header and extension may take up to 32766 bytes (no file system takes such a name).
    const std::string longest(vwx::kMaxDataStart - 1 - FixedHeader().size(), 'x');
    const std::tuple<std::string, bool, Bytes, int, std::string> cases[] = {
        {longest, true, good, 22, "File name too long"},
        {longest + "x", true, good, 22, "longer than the format allows"},
        {"txt", false, good, 22, "has no end"},
        {"txt", true, damaged(2, '7'), 22, "identification string not found"},
        {"txt", true, damaged(10, 0x80), 22, "symbol count"},
        {"txt", true, damaged(12, good[12] + 1), 22, "prefix code"},
        {"txt", true, damaged(4, good[4] ^ 0x20), 5, ""}, // the checksum
        {"txt", true, Bytes(good.begin(), good.end() - 1000), 5, ""},
        // Extensions that could leave the folder or hold control characters, shown escaped.
        {"/../../evil", true, good, 22, "extension \"/../../evil\" is not a valid"},
        {"..", true, good, 22, "extension \"..\" is not"},
        {".", true, good, 22, "extension \".\" is not"},
        {"a/b", true, good, 22, "extension \"a/b\" is not"},
        {"\x1b[31m", true, good, 22, "extension \"\\x1b[31m\" is not"},
        {"txt\n", true, good, 22, "extension \"txt\\x0a\" is not"},
        {"\x7f", true, good, 22, "extension \"\\x7f\" is not"},
        {"\x9d", true, good, 22, "extension \"\\x9d\" is not"}};
    std::filesystem::create_directory(dir / "in");
    for (const auto& [extension, terminated, stream, status, description] : cases) {
        SCOPED_TRACE(description);
        for (const bool agree : {true, false}) {
            VwxParts parts{.extension = extension, .terminated = terminated, .stream = stream};
            if (!agree) parts.trailer = {{0, 0}};
            WriteFile(dir / "in/f.vwx", ForgeVwx(parts, kPassword));
            host.eventCalls = 0;
            EXPECT_EQ(Run(dir / "in/f.vwx", dir / "in/out"), dir / "in/f.vwx");
            EXPECT_EQ(JobStatus, agree ? status : 23);
            EXPECT_NE(ErrorDescription.find(agree ? description : ""), std::string::npos);
            // Differing check values are found only once the whole data is decrypted.
            if (!agree && terminated) {
                EXPECT_EQ(host.eventCalls, static_cast<int>((stream.size() + 4999) / 5000));
            }
            EXPECT_EQ(dir.Entries(), Names{"in"});
            EXPECT_EQ(dir.Entries("in"), Names{"f.vwx"});
        }
    }
}

// Header lengths below 3, which no writer makes, read as the format page says: the bytes 1 to
// n - 1 are the header; a check value whose place would be byte 0 or before is 0; for n = 0 the
// extension starts with byte 0, decrypted a second time as the next byte of the stream.
TEST_F(ProtectedFileTest, HeaderLengthsBelowThreeReadAsTheFormatPageSays) {
    const Bytes data = {'s', 'h', 'o', 'r', 't'};
    for (const int n : {0, 1, 2, 3}) {
        for (int attempt = 0;; ++attempt) { // a password whose second reading of byte 0 is usable
            const std::string password = "password" + std::to_string(attempt);
            Cipher cipher;
            cipher.Init(password, "");
            const Bytes plainHeader = {static_cast<std::uint8_t>(n), 7, 9};
            Bytes file;
            for (int i = 0; i < std::max(n, 1); ++i)
                file.push_back(cipher.EncryptByte(plainHeader[static_cast<std::size_t>(i)]));
            std::string extension;
            if (n == 0) {
                const std::uint8_t again = cipher.DecryptByte(file[0]);
                if (again != 0 && (again < 'a' || again > 'z')) continue;
                if (again != 0) extension += static_cast<char>(again);
            }
            Bytes rest = {'x', 0};
            const Bytes stream = Encoded(data);
            rest.insert(rest.end(), stream.begin(), stream.end());
            const std::uint8_t check1 = n >= 3 ? plainHeader[1] : 0;
            const std::uint8_t check2 = n >= 2 ? plainHeader[static_cast<std::size_t>(n - 1)] : 0;
            for (const std::uint8_t b : rest)
                file.push_back(cipher.EncryptByte(b));
            for (const auto& [first, status] : {std::pair{check1, 0}, {n, 23}}) {
                // Byte 0 read as check value 1, as a table without the rule would have it.
                if (status == 23 && (n >= 3 || n == check1)) continue;
                Cipher tail = cipher;
                Bytes forged = file;
                forged.push_back(tail.EncryptByte(first));
                forged.push_back(tail.EncryptByte(check2));
                dir.Clear();
                WriteFile(dir / "f.vwx", forged);
                SCOPED_TRACE(std::to_string(n) + " " + password);
                const std::string written = Run(dir / "f.vwx", dir / "back", password);
                EXPECT_EQ(JobStatus, status) << ErrorDescription;
                if (status == 0) {
                    EXPECT_EQ(written, dir / ("back." + extension + "x"));
                    EXPECT_EQ(ReadFile(written), data);
                }
            }
            break;
        }
    }
}

TEST_F(ProtectedFileTest, WrongPasswordsAreAlways23AndWriteNothing) {
    for (const std::size_t size : {1u, 20u, 90u, 400u, 3000u}) {
        WriteFile(dir / "a.vwx", ForgeVwx({.stream = Encoded(TextData(size, 6))}, kPassword));
        for (int i = 0; i < 100; ++i) {
            EXPECT_EQ(Run(dir / "a.vwx", dir / "a.vwx", "wrong " + std::to_string(i)),
                      dir / "a.vwx");
            ASSERT_EQ(JobStatus, 23) << "size " << size << ", password " << i;
        }
        EXPECT_EQ(dir.Entries(), Names{"a.vwx"});
    }
}

TEST_F(ProtectedFileTest, RefusedOverwriteKeepsEveryExistingFile) {
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
        host.eventCalls = 0;
        host.act = [&] {
            if (appears && host.eventCalls == 1) WriteFile(kept, "new");
        };
        EXPECT_EQ(Run(source, output, password, "", Overwrite::Refused), source);
        EXPECT_EQ(JobStatus, status);
        EXPECT_EQ(ExistingOutputPath, kept);
        EXPECT_EQ(ErrorDescription, kept.empty() ? "" : "the file \"" + kept + "\" already exists");
        EXPECT_EQ(dir.Snapshot(), before);
    }
    host.act = nullptr;
    host.eventCalls = 0;
    Run(dir / "a.txt", dir / "a.txt", kPassword, "", Overwrite::Refused);
    EXPECT_EQ(host.eventCalls, 0); // refused before the source is read
    // The source itself is replaced when the caller asks for that.
    EXPECT_EQ(Run(dir / "x.vwx", dir / "x.vwx", kPassword, "", Overwrite::Refused), dir / "x.vwx");
    EXPECT_EQ(JobStatus, 0);
    EXPECT_EQ(ReadFile(dir / "x.vwx"), Bytes{'x'});
}

// The desktop program names the one existing file the user agreed to replace; the result
// replaces nothing else, and its path can be known before the job runs.
TEST_F(ProtectedFileTest, OnlyTheConfirmedPathIsReplaced) {
    WriteFile(dir / "a.txt", "plain");
    const std::string p = Run(dir / "a.txt", dir / "p.txt");
    WriteFile(dir / "victim.vwx", "old");
    WriteFile(dir / "victim.txt", "old");
    EXPECT_EQ(ResultPathFor(dir / "a.txt", dir / "victim", kPassword, ""), dir / "victim.vwx");
    EXPECT_EQ(ResultPathFor(p, dir / "victim", kPassword, ""), dir / "victim.txt");
    WriteFile(dir / "short.vwx", "ab");
    EXPECT_EQ(ResultPathFor(dir / "short.vwx", dir / "victim", kPassword, ""), "");
    for (const std::string& source : {dir / "a.txt", p}) {
        const std::string written = ResultPathFor(source, dir / "victim", kPassword, "");
        SCOPED_TRACE(written);
        EXPECT_EQ(
            Run(source, dir / "victim", kPassword, "", Overwrite::OnlyConfirmed(dir / "victim")),
            source);
        EXPECT_EQ(ExistingOutputPath, written);
        EXPECT_EQ(ReadFile(written), Bytes({'o', 'l', 'd'}));
        EXPECT_EQ(Run(source, dir / "victim", kPassword, "", Overwrite::OnlyConfirmed(written)),
                  written);
        EXPECT_EQ(JobStatus, 0);
    }
    EXPECT_EQ(ReadFile(dir / "victim.txt"), Bytes({'p', 'l', 'a', 'i', 'n'}));
}

// 2 GiB are refused before reading. 2147483494 zeros are stored in m = N + 4 bytes: with this
// test's header of 41 bytes the file would fit, with the longest header (255) it would not, so it
// is refused once counted, before anything is written, whatever header the writer draws.
TEST_F(ProtectedFileTest, FilesTooLongForTheFormatAreRefusedBeforeAnythingIsWritten) {
    EXPECT_TRUE(vwx::FitsTheFormat(255, 3, 2147483386));
    EXPECT_FALSE(vwx::FitsTheFormat(255, 3, 2147483387));
    for (const std::int64_t size : {0x80000000LL, 2147483494LL}) {
        WriteFile(dir / "big.bin", "");
        ASSERT_EQ(::truncate((dir / "big.bin").c_str(), size), 0);
        ClearRecords();
        EXPECT_EQ(Run(dir / "big.bin", dir / "big.bin"), dir / "big.bin");
        EXPECT_EQ(JobStatus, 12);
        EXPECT_NE(ErrorDescription.find("too large for the format"), std::string::npos);
        EXPECT_EQ(host.busyCalls.empty(), size > vwx::kMaxFileLength);
        EXPECT_LE(host.progress.empty() ? 0 : host.progress.back(), 6); // nothing was coded
        EXPECT_EQ(dir.Entries(), Names{"big.bin"});
    }
}

TEST(MouseEntropy, OneValuePerNewPositionAndAtMost251) {
    auto at = [](std::size_t k) { return static_cast<unsigned char>(EntropyPool.at(k)); };
    EntropyPool.clear();
    LastMousePosition = {};
    AddMouseEntropy(0, 0); // the start position: nothing new
    AddMouseEntropy(300.5f, 45);
    AddMouseEntropy(300.5f, 45);
    ASSERT_EQ(EntropyPool.size(), 1u);
    EXPECT_EQ(at(0), (300 ^ 45) & 255); // 300.5 rounds to even
    for (int i = 1; i <= 300; ++i)
        AddMouseEntropy(static_cast<float>(i), 1000);
    ASSERT_EQ(EntropyPool.size(), 251u);
    EXPECT_EQ(at(250), (300 ^ 1000) & 255);
    EXPECT_EQ(at(0), (50 ^ 1000) & 255);
    EntropyPool.clear();
}

// The pool runs on across the mixing keys and starts again from its first byte when it ends.
TEST(MouseEntropy, ThePoolRunsRoundAcrossTheHeadersMixingKeys) {
    hooks::RandomSource = [](std::uint8_t* out, std::size_t size) { std::fill_n(out, size, 0); };
    const auto header = [](const char* pool) { return EntropyPool = pool, MakeRandomHeader(); };
    const std::string once = header("\x05\x09\x0c"),
                      thrice = header("\x05\x09\x0c\x05\x09\x0c\x05\x09\x0c");
    const std::string other = header("\x05\x0c\x09");
    EXPECT_EQ(header(" ")[0], '\xe0'); // 32 ^ 32 is below the shortest header: 224 lengths on
    hooks::RandomSource = nullptr;
    EntropyPool.clear();
    EXPECT_EQ(once, thrice);
    EXPECT_NE(once, other);
    EXPECT_EQ(once.size(), 32u ^ 5 ^ 9 ^ 12);
    // Every length is as likely: the random byte 223 of the 224 lengths is taken, not redrawn.
    static int draws;
    draws = 0;
    hooks::RandomSource = [](std::uint8_t* out, std::size_t size) {
        std::fill_n(out, size, draws++ == 0 ? 223 : 0);
    };
    EXPECT_EQ(header("")[0], '\xff');
    hooks::RandomSource = nullptr;
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

TEST(ReportProgress, ZeroChangesNothingAndMoreThan100Is100) {
    ScopedTestHost scope;
    for (const double percent : {0.0, 120.0, 37.0})
        ReportProgress(percent);
    EXPECT_EQ(scope.host.progress, (std::vector<int>{100, 37}));
}

TEST_F(ProtectedFileTest, PasswordFirstThenMissingAndEmptySourcesThenTheJob) {
    const std::string missing = dir / "missing.txt", empty = dir / "empty.txt";
    WriteFile(empty, "");
    const std::tuple<std::string, const char*, int, const char*> cases[] = {
        {missing, "abcd", 3, "Password troppo corta"},
        {missing, "secret1", 4, "File non trovato"},
        {dir.path().string(), "secret1", 4, "File non trovato"}, // a folder is no source file
        {empty, "secret1", 6, "File vuoto"}};
    for (const auto& [path, password, status, message] : cases) {
        EXPECT_EQ(Run(path, path, password), path);
        EXPECT_EQ(JobStatus, status);
        EXPECT_EQ(StatusMessage, message);
    }
    EXPECT_EQ(host.eventCalls, 0);
    // Each job clears the outcome of the one before.
    WriteFile(dir / "a.txt", "hello world");
    EXPECT_EQ(Run(dir / "a.txt", dir / "gone/a.txt"), dir / "a.txt");
    ASSERT_EQ(JobStatus, 12);
    EXPECT_EQ(Run(dir / "a.txt", dir / "b.txt"), dir / "b.vwx");
    EXPECT_EQ(JobStatus, 0);
    EXPECT_EQ(StatusMessage + ErrorDescription, "");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.txt", "b.vwx", "empty.txt"}));
}

TEST(AtomicFile, TheResultFollowsTheUmaskWhileTheTemporaryFileStaysPrivate) {
    TempDir dir;
    for (const auto& [umask, mode, expected] :
         {std::tuple<mode_t, unsigned, unsigned>{077, 0644, 0600},
          {022, 04777, 0644},
          {0, 0664, 0664}}) {
        const mode_t before = ::umask(umask);
        {
            AtomicFile file(dir / "out");
            EXPECT_EQ(FilePermissions(file.TempPath()), 0600u); // the temporary file stays private
            file.Commit(mode);
        }
        ::umask(before);
        EXPECT_EQ(FilePermissions(dir / "out"), expected) << std::oct << umask << " " << mode;
    }
}

// A job removes what killed jobs left in its output folder: temporary files nobody holds locked.
TEST_F(ProtectedFileTest, AJobRemovesOnlyTheOnesNobodyHoldsLocked) {
    // Process ids say nothing across containers or machines: neither name protects a file.
    const std::string held = dir / (std::string(kTempPrefix) + "999999-held");
    const std::string stale = dir / (std::string(kTempPrefix) + std::to_string(::getppid()) + "-x");
    WriteFile(held, "half");
    WriteFile(stale, "half");
    const int holder = ::open(held.c_str(), O_RDONLY | O_CLOEXEC); // a paused job elsewhere
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    AtomicFile live(dir / "out");
    for (const std::string& path : {held, stale, live.TempPath()})
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::hours(1));
    WriteFile(dir / "a.txt", "plain text to protect");
    EXPECT_EQ(Run(dir / "a.txt", dir / "a.txt"), dir / "a.vwx");
    ::close(holder);
    EXPECT_TRUE(std::filesystem::exists(held) && std::filesystem::exists(live.TempPath()));
    EXPECT_FALSE(std::filesystem::exists(stale));
}

TEST(Paths, NamePartsLookOnlyAtTheLastPathElement) {
    const std::tuple<std::string, const char*, const char*, const char*> cases[] = {
        // path, extension, without it, folder
        {"/a/Photo.JPG", "jpg", "/a/Photo", "/a/"},
        {"/a/archive.tar.GZ", "gz", "/a/archive.tar", "/a/"},
        {"/a/file.", "", "/a/file", "/a/"},
        {"/a/b", "", "/a/b", "/a/"},
        {"/a/.profile", "", "/a/.profile", "/a/"}, // its only dot first: all stem
        {"/a/.bash.rc", "rc", "/a/.bash", "/a/"},
        {".hidden", "", ".hidden", ""},
        {"name.txt", "txt", "name", ""},
        {"/b.txt", "txt", "/b", ""}, // only a leading "/": no folder
        {"rel/b.txt", "txt", "rel/b", "rel/"},
        {"/a/", "", "/a/", "/a/"},
        {"/home/u/my.dir/file", "", "/home/u/my.dir/file", "/home/u/my.dir/"},
        {"/a/ÉTÉ.ÀÉ", "àé", "/a/ÉTÉ", "/a/"}, // letters of the code page, not only ASCII
        {"/a/x.ŠŒŽŸÞ", "šœžÿþ", "/a/x", "/a/"},
        {"/a/x.×ß@[Z€", "×ß@[z€", "/a/x", "/a/"}}; // no lower case of their own but Z
    for (const auto& [path, extension, without, folder] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ExtensionOf(path), extension);
        EXPECT_EQ(WithoutExtension(path), without);
        EXPECT_EQ(FolderOf(path), folder);
        // The folder (or the leading "/") and the name make up the whole path.
        EXPECT_EQ((folder[0] || path[0] != '/' ? folder : "/") + FileNameOf(path), path);
    }
    // A file is taken as protected when "vwx" is in its name, in any case.
    for (const auto& [path, kind] : {std::pair{"/d/Docs/report.VWX", FileKind::Protected},
                                     {"/d/Docs/myvWxnotes.txt", FileKind::Protected},
                                     {"/d/Docs/report.txt", FileKind::Plain},
                                     {"/d/vwxfiles/notes.txt", FileKind::Plain},
                                     {"", FileKind::Plain}})
        EXPECT_EQ(DetectFileKind(path), kind) << path;
}

TEST_F(ProtectedFileTest, EveryDamageFailsAndDifferingCheckValuesAreTheUsualOutcome) {
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
            const std::string result = Run(dir / "damaged.vwx", dir / "out.x");
            if (k == 0) { // the undamaged file restores
                EXPECT_EQ(result, dir / "out.txt");
                std::filesystem::remove(result);
                continue;
            }
            EXPECT_TRUE(JobStatus == 23 || JobStatus == 22 || JobStatus == 5)
                << k << ": " << JobStatus;
            EXPECT_EQ(dir.Entries(), std::vector<std::string>{"damaged.vwx"});
            status23 += JobStatus == 23;
        }
        EXPECT_GT(status23 * 3, damaged.size() * 2);
    }
}

// A full disk (a size limit) or an output path taken by a folder or gone: a status, no change.
TEST_F(ProtectedFileTest, FailedWritesKeepEveryExistingFile) {
    WriteFile(dir / "a.bin", RandomData(300000, 1));
    const std::string p = Run(dir / "a.bin", dir / "p.bin");
    WriteFile(dir / "a.vwx", "an older protected copy");
    std::filesystem::create_directory(dir / "d.vwx");
    const auto before = dir.Snapshot();
    const std::tuple<std::string, std::string, rlim_t, int, const char*> cases[] = {
        // source, output, the size this process may write (as on a full disk), status, failure
        {dir / "a.bin", dir / "a.bin", 65536, 12, "cannot write"},
        {p, p, 65536, 22, "cannot write"},
        {dir / "a.bin", dir / "d.bin", RLIM_INFINITY, 12, "cannot replace"}, // a folder is there
        {dir / "a.bin", dir / "gone/a.bin", RLIM_INFINITY, 12, "cannot create"}};
    for (const auto& [source, output, fileSize, status, description] : cases) {
        SCOPED_TRACE(output);
        rlimit saved{}, limit{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        limit = {fileSize, saved.rlim_max};
        const sighandler_t handler = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_EQ(Run(source, output), source);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ::signal(SIGXFSZ, handler);
        EXPECT_EQ(JobStatus, status);
        EXPECT_EQ(StatusMessage, "Errore: " + ErrorDescription);
        EXPECT_NE(ErrorDescription.find(description), std::string::npos) << ErrorDescription;
        EXPECT_EQ(dir.Snapshot(), before);
    }
}

// Descriptors, and memory mapped outside the heap (which leak checkers do not watch).
TEST_F(ProtectedFileTest, HundredsOfJobsLeakNoDescriptorsAndNoMemory) {
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

} // namespace
} // namespace vw::test
