// Failing disks and long use: a write that hits a size limit, an output path taken by a folder
// or gone, each ends with a clear status and keeps every existing file; hundreds of jobs in one
// process leak neither memory nor descriptors.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

using Faults = JobTest;

TEST_F(Faults, FailedWritesKeepEveryExistingFile) {
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

TEST_F(Faults, HundredsOfJobsLeakNoDescriptorsAndNoMemory) {
    auto descriptors = [] {
        const std::filesystem::directory_iterator fds("/proc/self/fd");
        return std::distance(begin(fds), end(fds));
    };
    auto residentKiB = [] {
        long size = 0, resident = 0;
        std::ifstream("/proc/self/statm") >> size >> resident;
        return resident * (::sysconf(_SC_PAGESIZE) / 1024);
    };
    WriteFile(dir / "a.txt", TextData(3000, 3));
    auto rounds = [&](int count) {
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(Run(dir / "a.txt", dir / "b.txt"), dir / "b.vwx");
            ASSERT_EQ(Run(dir / "b.vwx", dir / "c.x"), dir / "c.txt");
            ASSERT_EQ(Run(dir / "b.vwx", dir / "c.x", "wrong password"), dir / "b.vwx");
        }
    };
    rounds(50); // warms up allocator pools
    const auto open = descriptors();
    const long resident = residentKiB();
    rounds(400);
    EXPECT_EQ(descriptors(), open);
#ifndef __SANITIZE_ADDRESS__ // AddressSanitizer keeps freed memory in quarantine, and finds leaks
    EXPECT_LT(residentKiB() - resident, 2048);
#endif
    (void)resident;
}

} // namespace
} // namespace vw::test
