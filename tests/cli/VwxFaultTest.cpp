// vwx against failing disks, folders it may not write, sources that change under it and a
// job killed half way: each ends with a clear status, and every existing file stays intact.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include <gtest/gtest.h>

#include "VwxProcess.h"
#include "engine/ProtectedFile.h"
#include "engine/TempDir.h"

namespace vw::test {
namespace {

const std::string kPw = "VWX_PASSWORD=Segreto1";

bool HasTempFile(const TempDir& dir) {
    for (const auto& name : dir.Entries())
        if (name.rfind(kTempPrefix, 0) == 0) return true;
    return false;
}

// Runs vwx as the unprivileged user "nobody", so folder and file permissions apply even when
// the tests run as root. Returns the exit status, or -1 when that is not possible here.
int RunAsNobody(const std::vector<std::string>& args) {
    if (::geteuid() != 0 || ::access("/usr/bin/setpriv", X_OK) != 0) return -1;
    std::string command = "env -i HOME=/nonexistent VWX_PASSWORD=Segreto1 /usr/bin/setpriv "
                          "--reuid=65534 --regid=65534 --clear-groups " VWX_BIN;
    for (const auto& a : args)
        command += " '" + a + "'";
    command += " >/dev/null 2>&1";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

class VwxFaults : public ::testing::Test {
  protected:
    TempDir dir;
    VwxProcess vwx;
};

TEST_F(VwxFaults, AFileSizeLimitEndsWithStatus12AndKeepsEverything) {
    const Bytes data = RandomData(2 << 20, 4);
    WriteFile(dir / "a.bin", data);
    WriteFile(dir / "a.vwx", std::string("older copy"));
    // Limits and ignored signals are inherited by the child; set them only around the start.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 256 * 1024;
    const sighandler_t previous = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const pid_t pid = vwx.Start({dir / "a.bin"}, {kPw});
    ::setrlimit(RLIMIT_FSIZE, &saved);
    ::signal(SIGXFSZ, previous);
    const RunResult r = vwx.Wait(pid);
    EXPECT_EQ(r.status, 12) << r.err;
    EXPECT_NE(r.err.find("Errore: "), std::string::npos) << r.err;
    EXPECT_EQ(ReadFile(dir / "a.bin"), data);
    EXPECT_EQ(ReadFile(dir / "a.vwx"), Bytes({'o', 'l', 'd', 'e', 'r', ' ', 'c', 'o', 'p', 'y'}));
    EXPECT_FALSE(HasTempFile(dir));
}

TEST_F(VwxFaults, KilledHalfWayLeavesTheOutputPathUntouched) {
    const Bytes data = RandomData(48 << 20, 5);
    WriteFile(dir / "a.bin", data);
    WriteFile(dir / "a.vwx", std::string("older copy"));
    const pid_t pid = vwx.Start({dir / "a.bin"}, {kPw});
    // Kill it once its temporary file exists (or after a while, whichever comes first).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!HasTempFile(dir) && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    ::kill(pid, SIGKILL);
    const RunResult r = vwx.Wait(pid);
    ASSERT_EQ(r.status, 128 + SIGKILL);
    EXPECT_EQ(ReadFile(dir / "a.bin"), data);
    EXPECT_EQ(ReadFile(dir / "a.vwx"), Bytes({'o', 'l', 'd', 'e', 'r', ' ', 'c', 'o', 'p', 'y'}));

    // The next job into the folder clears what the killed one left.
    const bool leftover = HasTempFile(dir);
    for (const auto& name : dir.Entries())
        if (name.rfind(kTempPrefix, 0) == 0)
            std::filesystem::last_write_time(dir / name,
                                             std::filesystem::file_time_type::clock::now() -
                                                 std::chrono::seconds(5));
    WriteFile(dir / "small.txt", std::string("a small file"));
    EXPECT_EQ(vwx.Run({dir / "small.txt"}, {kPw}).status, 0);
    EXPECT_FALSE(HasTempFile(dir)) << "leftover before: " << leftover;
}

TEST_F(VwxFaults, SourceGoneOrReplacedByAFolder) {
    EXPECT_EQ(vwx.Run({dir / "gone.txt"}, {kPw}).status, 4);
    std::filesystem::create_directory(dir / "folder.txt");
    EXPECT_EQ(vwx.Run({dir / "folder.txt"}, {kPw}).status, 4);
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"folder.txt"});
}

TEST_F(VwxFaults, ReadOnlyFolderAndUnreadableSource) {
    std::filesystem::permissions(dir.path(), std::filesystem::perms(0755));
    WriteFile(dir / "a.txt", TextData(20000, 1));
    ::chmod((dir / "a.txt").c_str(), 0644);
    std::filesystem::create_directory(dir / "ro");
    ::chmod((dir / "ro").c_str(), 0555);
    if (::geteuid() != 0) {
        EXPECT_EQ(vwx.Run({"-o", dir / "ro/a.txt", dir / "a.txt"}, {kPw}).status, 12);
        GTEST_SKIP() << "the unreadable source needs another user";
    }
    const int readOnly = RunAsNobody({"-o", dir / "ro/a.txt", dir / "a.txt"});
    if (readOnly < 0) GTEST_SKIP() << "cannot switch to an unprivileged user here";
    EXPECT_EQ(readOnly, 12);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "ro"));

    ::chmod((dir / "a.txt").c_str(), 0000);
    std::filesystem::create_directory(dir / "rw");
    ::chmod((dir / "rw").c_str(), 0777);
    EXPECT_EQ(RunAsNobody({"-o", dir / "rw/a.txt", dir / "a.txt"}), 12);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "rw"));
    ::chmod((dir / "a.txt").c_str(), 0644);
    EXPECT_EQ(ReadFile(dir / "a.txt"), TextData(20000, 1));
}

} // namespace
} // namespace vw::test
