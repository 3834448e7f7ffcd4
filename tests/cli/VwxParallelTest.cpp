// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// vwx working on several files at once: what a run tells, in which order, its exit status and the
// files it leaves are those of the same run one file after the other; an interrupt cancels every
// running job, which leaves nothing behind, and starts no further file.
#include <gtest/gtest.h>

#include "VwxProcess.h"
#include "engine/io/FileIO.h"
#include "tests/support/ProtectedFileForge.h"

namespace vw::test {
namespace {

// Texts of over one restore piece, so that the jobs overlap, and files that fail in every way a
// run can tell: gone, wrong password, damaged, a result that exists or that another file writes.
void Populate(const TempDir& dir) {
    for (const unsigned k : {1u, 2u, 3u, 4u}) {
        const std::string name = {'t', static_cast<char>('0' + k), '.', 't', 'x', 't'};
        WriteFile(dir / name, TextData((700 << 10) + k * 4099, k));
    }
    WriteFile(dir / "t1.md", TextData(5000, 9));
    WriteFile(dir / "x.txt", TextData(300, 8)), WriteFile(dir / "x.vwx", std::string("older"));
    for (const char* name : {"r1.vwx", "r2.vwx", "u.vwx", "u.VWX", "e.vwx"})
        WriteFile(dir / name, ForgeVwx({.stream = Encoded(TextData(600 << 10, name[0]))},
                                       "Segreto1"));
    WriteFile(dir / "e.txt", std::string("older")), WriteFile(dir / "r2.txt", std::string("older"));
    WriteFile(dir / "g.vwx", ForgeVwx({.stream = Encoded(TextData(900, 7))}, "Altro123"));
    Bytes damaged = Encoded(TextData(3000, 4));
    damaged[4] ^= 0x40; // the data's checksum
    WriteFile(dir / "sum.vwx", ForgeVwx({.stream = damaged}, "Segreto1"));
}

struct Outcome {
    RunResult run;
    std::map<std::string, Bytes> files; // a protected file the run made by its name only
};

Outcome RunWithJobs(const std::vector<std::string>& args, const std::string& jobs) {
    VwxProcess vwx;
    Populate(vwx.dir);
    const std::map<std::string, Bytes> before = vwx.dir.Snapshot();
    std::vector<std::string> withJobs{"-j", jobs};
    withJobs.insert(withJobs.end(), args.begin(), args.end());
    Outcome outcome{vwx.Run(withJobs), vwx.dir.Snapshot()};
    for (auto& [name, bytes] : outcome.files) // each protect draws its own random header
        if (name.ends_with(".vwx") && !before.contains(name)) bytes.clear();
    return outcome;
}

} // namespace

TEST(VwxParallel, ToldInTheFilesOrderWithTheFirstFailingStatusAndNoFileReplaced) {
    // Arguments, then the status and standard output one file after the other.
    using Run = std::tuple<std::vector<std::string>, int, std::string>;
    for (const auto& [args, status, out] :
         {Run{{"t1.txt", "t2.txt", "gone", "t1.md", "x.txt", "t3.txt", "t3.txt", "t4.txt"},
              4,
              "t1.vwx\nt2.vwx\nt3.vwx\nt4.vwx\n"},
          // u.VWX restores to what u.vwx writes: it runs after the jobs before it, and is told
          // as refused once it would have written.
          Run{{"--no-private-code", "r1.vwx", "g.vwx", "u.vwx", "u.VWX", "r2.vwx", "sum.vwx",
               "e.vwx"},
              23,
              "r1.txt\nu.txt\n"},
          Run{{"-t", "--no-private-code", "r1.vwx", "sum.vwx", "gone", "r2.vwx", "g.vwx"},
              5,
              "r1.vwx: ok\nsum.vwx: Errore di compressione\ngone: File non trovato: gone\n"
              "r2.vwx: ok\ng.vwx: Errore Generico 3 (password errata o file danneggiato)\n"},
          // -f replaces no result of another file of the run and no file the run names.
          Run{{"-f", "--no-private-code", "e.vwx", "t1.txt", "t1.md", "r2.vwx", "r2.txt",
               "t2.txt", "u.vwx"},
              73,
              "e.txt\nt1.vwx\nt2.vwx\nu.txt\n"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const Outcome one = RunWithJobs(args, "1");
        EXPECT_EQ(one.run.status, status);
        EXPECT_EQ(one.run.out, out);
        for (const char* jobs : {"2", "4"}) {
            SCOPED_TRACE(jobs);
            const Outcome several = RunWithJobs(args, jobs);
            EXPECT_EQ(several.run.status, one.run.status);
            EXPECT_EQ(several.run.out, one.run.out);
            EXPECT_EQ(several.run.err, one.run.err);
            EXPECT_TRUE(several.files == one.files); // the same files, byte for byte
        }
    }
}

TEST(VwxParallel, AnInterruptCancelsEveryRunningJobAndStartsNoFurtherFile) {
    VwxProcess vwx;
    for (const char* name : {"a.bin", "b.bin", "c.bin"})
        WriteFile(vwx.dir / name, RandomData(24 << 20, name[0]));
    WriteFile(vwx.dir / "d.txt", TextData(100, 1));
    const std::map<std::string, Bytes> before = vwx.dir.Snapshot();
    const auto writing = [&] { // the jobs' temporary files
        const std::vector<std::string> now = vwx.dir.Entries();
        return std::count_if(now.begin(), now.end(),
                             [](const std::string& name) { return name.starts_with(kTempPrefix); });
    };
    const pid_t pid = vwx.Start({"-j", "2", "a.bin", "b.bin", "c.bin", "d.txt"});
    for (int wait = 0; wait < 60000 && writing() < 2; ++wait)
        std::this_thread::sleep_for(VwxProcess::kPause);
    EXPECT_EQ(writing(), 2);
    ::kill(pid, SIGINT);
    const RunResult r = vwx.Wait(pid);
    EXPECT_EQ(r.status, 130);
    // Nothing written, nothing left over, no source touched, no further file started.
    EXPECT_TRUE(vwx.dir.Snapshot() == before);
    const std::size_t a = r.err.find("vwx: a.bin: "), b = r.err.find("vwx: b.bin: ");
    EXPECT_TRUE(a != std::string::npos && b != std::string::npos && a < b) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err; // c and d not told
}

} // namespace vw::test
