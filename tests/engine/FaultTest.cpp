// Failing disks and long use: a write that hits a size limit ends with a clear status and
// keeps every existing file; a thousand jobs in one process leak neither memory nor files.
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "engine/Driver.h"
#include "engine/JobState.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestHost.h"

namespace vw {
namespace {

// Limits the size of files this process may write, as a full disk would, for one scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, previousHandler_);
    }

  private:
    rlimit saved_{};
    sighandler_t previousHandler_{};
};

std::size_t OpenDescriptors() {
    std::size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        (void)entry;
        ++n;
    }
    return n;
}

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

class Faults : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::ScopedTestHost host;
};

TEST_F(Faults, AFullDiskWhileProtectingKeepsTheSourceAndTheOldOutput) {
    const Bytes data = test::RandomData(300000, 1);
    test::WriteFile(dir / "a.bin", data);
    const std::string older = "an older protected copy";
    test::WriteFile(dir / "a.vwx", older);
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_EQ(ProcessFile(dir / "a.bin", dir / "a.bin", "password1", ""), dir / "a.bin");
    }
    EXPECT_EQ(JobStatus, 12);
    EXPECT_NE(ErrorDescription.find("cannot write"), std::string::npos) << ErrorDescription;
    EXPECT_EQ(test::ReadFile(dir / "a.bin"), data);
    EXPECT_EQ(test::ReadFile(dir / "a.vwx"), Bytes(older.begin(), older.end()));
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.bin", "a.vwx"}));
}

TEST_F(Faults, AFullDiskWhileRestoringKeepsTheProtectedFile) {
    const Bytes data = test::RandomData(300000, 2);
    test::WriteFile(dir / "a.bin", data);
    const std::string p = ProcessFile(dir / "a.bin", dir / "a.bin", "password1", "");
    ASSERT_EQ(JobStatus, 0);
    const Bytes protectedBytes = test::ReadFile(p);
    {
        FileSizeLimit limit(64 * 1024);
        EXPECT_EQ(ProcessFile(p, p, "password1", ""), p);
    }
    EXPECT_EQ(JobStatus, 22);
    EXPECT_EQ(StatusMessage.rfind("Errore: ", 0), 0u);
    EXPECT_EQ(test::ReadFile(p), protectedBytes);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.vwx"});
}

TEST_F(Faults, AThousandJobsLeakNoDescriptorsAndNoMemory) {
    const Bytes data = test::TextData(3000, 3);
    test::WriteFile(dir / "a.txt", data);
    auto oneRound = [&] {
        const std::string p = ProcessFile(dir / "a.txt", dir / "a.txt.x", "password1", "");
        ASSERT_EQ(JobStatus, 0);
        ProcessFile(p, dir / "b.x", "password1", "");
        ASSERT_EQ(JobStatus, 0);
    };
    for (int i = 0; i < 50; ++i)
        oneRound(); // warm up allocator pools
    const std::size_t descriptors = OpenDescriptors();
    const long resident = ResidentKiB();
    for (int i = 0; i < 500; ++i)
        oneRound();
    EXPECT_EQ(OpenDescriptors(), descriptors);
#ifndef __SANITIZE_ADDRESS__
    // (AddressSanitizer keeps freed memory in quarantine; it checks for leaks itself.)
    EXPECT_LT(ResidentKiB() - resident, 2048);
#else
    (void)resident;
#endif
    EXPECT_EQ(test::ReadFile(dir / "b.txt"), data);
    // Failing jobs too.
    for (int i = 0; i < 100; ++i)
        ProcessFile(dir / "a.vwx", dir / "c.x", "wrong password", "");
    EXPECT_EQ(OpenDescriptors(), descriptors);
}

} // namespace
} // namespace vw
