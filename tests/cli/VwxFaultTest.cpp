// vwx against signals while it waits for a password file that never delivers (a FIFO whose
// writer stays silent) and while a job writes: an interrupt cancels, no signal leaves a core
// dump, and every file there was stays as it was.
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
    for (const auto& [file, signal, status] : {std::tuple{"f.txt", SIGINT, 11},
                                               {"f.txt", SIGQUIT, 131},
                                               {"a.vwx", SIGINT, 21},
                                               {"a.bin", SIGINT, 11},
                                               {"a.bin", SIGKILL, 137}}) {
        SCOPED_TRACE(std::string(file) + " " + std::to_string(signal));
        const bool fromFifo = file[0] != 'a' || status == 21;
        const pid_t pid =
            fromFifo ? vwx.Start({"--password-file", "pw", file}, "") : vwx.Start({"-f", file});
        int writer = -1; // opens once vwx has opened the FIFO
        for (int wait = 0; wait < 20000; ++wait, std::this_thread::sleep_for(VwxProcess::kPause))
            if (fromFifo ? (writer = ::open((vwx.dir / "pw").c_str(), O_WRONLY | O_NONBLOCK)) >= 0
                         : writing())
                break;
        ::kill(pid, signal);
        const RunResult r = vwx.Wait(pid);
        ::close(writer);
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_FALSE(r.coreDumped);
        EXPECT_EQ(writing(), signal == SIGKILL); // a killed job leaves its temporary file
        EXPECT_EQ(vwx.dir.Entries().size(), entries + (signal == SIGKILL));
        for (const auto& [name, content] : files)
            EXPECT_EQ(ReadFile(vwx.dir / name), content) << name;
    }
}

} // namespace vw::test
