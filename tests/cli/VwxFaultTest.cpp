// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Signals while vwx waits to open a password FIFO and while it writes: no core, no file written,
// and the run ends by the signal.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "VwxProcess.h"

namespace vw::test {

TEST(VwxFaults, SignalsWhileWaitingForThePasswordAndWhileWriting) {
    VwxProcess vwx;
    ASSERT_EQ(::mkfifo((vwx.dir / "pw").c_str(), 0600), 0);
    WriteFile(vwx.dir / "f.txt", TextData(100, 1));
    const std::string older = "older copy"; // in a.vwx; -f below: it may be replaced
    WriteFile(vwx.dir / "a.vwx", older);
    WriteFile(vwx.dir / "a.bin", RandomData(32 << 20, 5)); // only read, and large
    const std::size_t entries = vwx.dir.Entries().size();
    // A new entry: the job's temporary file (or a core dump).
    const auto writing = [&] { return vwx.dir.Entries().size() > entries; };
    const std::vector<std::string> fifo{"--password-file", "pw", "f.txt"},
        job{"-f", "a.bin", "f.txt"};
    const std::string opening = "wait_for_partner"; // where the kernel holds an open of a FIFO
    // Arguments, signal, exit status: an interrupt ends the run by that signal once everything is
    // cleaned up (a shell sees 130 or 143 and stops its script).
    using Run = std::tuple<std::vector<std::string>, int, int>;
    for (const auto& [args, signal, status] :
         {Run{fifo, SIGINT, 130}, Run{fifo, SIGQUIT, 131},
          Run{{"--password-file", "pw", "a.vwx"}, SIGTERM, 143}, Run{job, SIGINT, 130},
          Run{job, SIGTERM, 143}, Run{job, SIGHUP, 129}, Run{job, SIGKILL, 137}}) {
        const bool fromFifo = args[0] != "-f";
        SCOPED_TRACE(::testing::PrintToString(args) + " " + std::to_string(signal));
        const pid_t pid = vwx.Start(args, fromFifo ? "" : "Segreto1");
        const std::string wchan = "/proc/" + std::to_string(pid) + "/wchan";
        for (int wait = 0; wait < 20000; ++wait, std::this_thread::sleep_for(VwxProcess::kPause))
            if (fromFifo ? ReadFile(wchan) == Bytes(opening.begin(), opening.end()) : writing())
                break;
        ::kill(pid, signal);
        const RunResult r = vwx.Wait(pid);
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_FALSE(r.coreDumped);
        EXPECT_EQ(vwx.dir.Entries().size(), entries + (signal == SIGKILL)); // its temporary file
        EXPECT_EQ(ReadFile(vwx.dir / "a.vwx"), Bytes(older.begin(), older.end()));
    }
    // An interrupt ignored by whoever started vwx (a shell, for a command in the background)
    // stays ignored: the run goes on to the end.
    vwx.interruptIgnored = true;
    const std::size_t before = vwx.dir.Entries().size(); // with the killed run's temporary file
    const pid_t pid = vwx.Start(job, "Segreto1");
    for (int wait = 0; wait < 20000 && vwx.dir.Entries().size() == before; ++wait)
        std::this_thread::sleep_for(VwxProcess::kPause);
    ::kill(pid, SIGINT);
    EXPECT_EQ(vwx.Wait(pid).status, 0);
    EXPECT_NE(ReadFile(vwx.dir / "a.vwx"), Bytes(older.begin(), older.end()));
}

} // namespace vw::test
