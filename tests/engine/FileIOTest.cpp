#include "engine/FileIO.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

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

using StaleTempFiles = JobTest;

// A job removes what killed jobs left in its output folder: temporary files nobody holds locked.
TEST_F(StaleTempFiles, AJobRemovesOnlyTheOnesNobodyHoldsLocked) {
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

} // namespace
} // namespace vw::test
