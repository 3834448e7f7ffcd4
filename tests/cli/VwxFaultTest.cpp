// vwx against signals while it waits to open a password file that never comes (a FIFO without
// a writer) and while a job writes: an interrupt cancels, no signal leaves a core dump, and
// every file there was stays as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "VwxProcess.h"
#include "engine/FileIO.h"

namespace vw::test {

TEST(VwxFaults, SignalsWhileWaitingForThePasswordAndWhileWriting) {
    VwxProcess vwx;
    ASSERT_EQ(::mkfifo((vwx.dir / "pw").c_str(), 0600), 0);
    WriteFile(vwx.dir / "f.txt", TextData(100, 1));
    WriteFile(vwx.dir / "a.vwx", std::string("older copy")); // -f below: it may be replaced
    const auto files = Files(vwx.dir);
    WriteFile(vwx.dir / "a.bin", RandomData(32 << 20, 5)); // only read, and large
    const std::size_t entries = vwx.dir.Entries().size();
    const auto writing = [&] { // the job's temporary file is there
        const auto names = vwx.dir.Entries();
        return std::any_of(names.begin(), names.end(),
                           [](auto& n) { return n.starts_with(kTempPrefix); });
    };
    const std::vector<std::string> fifo{"--password-file", "pw"}, job{"-f", "a.bin"};
    const std::string opening = "wait_for_partner"; // where the kernel holds an open of a FIFO
    for (auto [args, signal, status] : {std::tuple{fifo, SIGINT, 11},
                                        {fifo, SIGQUIT, 131},
                                        {fifo, SIGINT, 21},
                                        {job, SIGINT, 11},
                                        {job, SIGKILL, 137}}) {
        const bool fromFifo = args == fifo;
        if (fromFifo) args.push_back(status == 21 ? "a.vwx" : "f.txt");
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
        EXPECT_EQ(writing(), signal == SIGKILL); // a killed job leaves its temporary file
        EXPECT_EQ(vwx.dir.Entries().size(), entries + (signal == SIGKILL));
        for (const auto& [name, content] : files)
            EXPECT_EQ(ReadFile(vwx.dir / name), content) << name;
    }
}

} // namespace vw::test
