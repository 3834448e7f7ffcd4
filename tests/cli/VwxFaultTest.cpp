// vwx against failing disks, folders it may not write, sources that change under it and a
// job killed half way: each ends with a clear status, and every existing file stays intact.
#include <fcntl.h>
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
#include "engine/FileIO.h"
#include "engine/ProtectedFile.h"
#include "tests/support/TempDir.h"

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
    WriteFile(dir / "a.vwx", std::string("older copy")); // -f below: it may be replaced
    // Limits and ignored signals are inherited by the child; set them only around the start.
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limit = saved;
    limit.rlim_cur = 256 * 1024;
    const sighandler_t previous = ::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const pid_t pid = vwx.Start({"-f", dir / "a.bin"}, {kPw});
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
    WriteFile(dir / "a.vwx", std::string("older copy")); // -f below: it may be replaced
    const pid_t pid = vwx.Start({"-f", dir / "a.bin"}, {kPw});
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

// Checked before any password is asked, so the reason is told even without a terminal.
TEST_F(VwxFaults, SourceGoneOrNotAFile) {
    std::filesystem::create_directory(dir / "folder.txt");
    ASSERT_EQ(::mkfifo((dir / "fifo.txt").c_str(), 0600), 0);
    for (const auto& [name, says] : {std::pair{"gone.txt", "File non trovato"},
                                     {"folder.txt", "is a folder"},
                                     {"fifo.txt", "is a FIFO"}}) {
        for (const auto& env : {std::vector<std::string>{kPw}, std::vector<std::string>{}}) {
            SCOPED_TRACE(name);
            const RunResult r = vwx.Run({dir / name}, env);
            EXPECT_EQ(r.status, 4);
            EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        }
    }
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"fifo.txt", "folder.txt"}));
}

// A closed standard output is reported after the job; it does not kill vwx.
TEST_F(VwxFaults, ClosedStandardOutput) {
    WriteFile(dir / "a.txt", TextData(2000, 1));
    int fds[2];
    ASSERT_EQ(::pipe2(fds, O_CLOEXEC), 0);
    ::close(fds[0]);
    vwx.stdoutFd = fds[1];
    const pid_t pid = vwx.Start({"--replace", dir / "a.txt"}, {kPw});
    ::close(fds[1]);
    const RunResult r = vwx.Wait(pid);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("cannot write to standard output"), std::string::npos) << r.err;
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.vwx"});
}

// Signals while vwx waits for a password file that never delivers (a FIFO with a silent
// writer): an interrupt cancels, and a fatal signal dumps no core that could hold secrets.
TEST_F(VwxFaults, SignalsWhileReadingThePasswordFile) {
    WriteFile(dir / "a.txt", TextData(100, 1));
    ASSERT_EQ(::mkfifo((dir / "pw").c_str(), 0600), 0);
    vwx.workDir = dir.path(); // where a core dump would land
    for (const auto& [signal, status] : {std::pair{SIGINT, 11}, {SIGQUIT, 128 + SIGQUIT}}) {
        SCOPED_TRACE(signal);
        rlimit saved{};
        ::getrlimit(RLIMIT_CORE, &saved);
        const rlimit core{saved.rlim_max, saved.rlim_max};
        ::setrlimit(RLIMIT_CORE, &core);
        const pid_t pid = vwx.Start({"--password-file", dir / "pw", dir / "a.txt"});
        ::setrlimit(RLIMIT_CORE, &saved);
        // Opening the writer's end succeeds once vwx has opened the reader's.
        int writer = -1;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (writer < 0 && std::chrono::steady_clock::now() < deadline) {
            writer = ::open((dir / "pw").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ::kill(pid, signal);
        const RunResult r = vwx.Wait(pid);
        ::close(writer);
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_FALSE(r.coreDumped);
        EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.txt", "pw"}));
    }
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
