#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>

#include "VwxProcess.h"
#include "tests/support/TempDir.h"

namespace vw::test {
namespace {

// A pseudo-terminal that becomes the controlling terminal of the vwx run started on it.
class PseudoTerminal {
  public:
    PseudoTerminal() {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
            throw std::runtime_error("no pseudo-terminal");
        slaveName_ = ::ptsname(master_);
        // Kept open here so the terminal's settings can be read while and after vwx runs.
        slave_ = ::open(slaveName_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    }
    ~PseudoTerminal() {
        ::close(slave_);
        ::close(master_);
    }
    const std::string& SlaveName() const { return slaveName_; }

    // Reads the terminal's output until text appears after what was already consumed.
    bool WaitFor(const std::string& text) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        for (;;) {
            const auto found = transcript_.find(text, consumed_);
            if (found != std::string::npos) {
                consumed_ = found + text.size();
                return true;
            }
            if (std::chrono::steady_clock::now() > deadline) return false;
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 50) > 0) {
                char buffer[512];
                const ssize_t n = ::read(master_, buffer, sizeof buffer);
                if (n > 0) transcript_.append(buffer, static_cast<std::size_t>(n));
            }
        }
    }
    void Type(const std::string& text) {
        ASSERT_EQ(::write(master_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    bool Echoing() const {
        termios t{};
        ::tcgetattr(slave_, &t);
        return (t.c_lflag & ECHO) != 0;
    }
    const std::string& Transcript() const { return transcript_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slaveName_;
    std::string transcript_;
    std::size_t consumed_ = 0;
};

constexpr const char* kFirst = "Inserisci la password: ";
constexpr const char* kSecond = "Ripeti password: ";

class VwxTerminal : public ::testing::Test {
  protected:
    TempDir dir;
    VwxProcess vwx;
    PseudoTerminal tty;
};

TEST_F(VwxTerminal, AsksTwiceWithoutEchoRefusingLikeTheDialog) {
    const Bytes original = TextData(3000, 9);
    WriteFile(dir / "a.txt", original);
    const pid_t pid = vwx.Start({dir / "a.txt"}, {}, "", tty.SlaveName());

    ASSERT_TRUE(tty.WaitFor(kFirst));
    EXPECT_FALSE(tty.Echoing());
    tty.Type("Segreto1\n");
    ASSERT_TRUE(tty.WaitFor(kSecond));
    tty.Type("Segreto2\n");
    ASSERT_TRUE(tty.WaitFor("Le password non conincidono"));
    ASSERT_TRUE(tty.WaitFor(kFirst));
    tty.Type("abab\n");
    ASSERT_TRUE(tty.WaitFor(kSecond));
    tty.Type("abab\n");
    ASSERT_TRUE(tty.WaitFor("Password troppo corta"));
    ASSERT_TRUE(tty.WaitFor(kFirst));
    tty.Type("Perch\xC3\xA9!\n");
    ASSERT_TRUE(tty.WaitFor(kSecond));
    tty.Type("Perch\xC3\xA9!\n");
    const RunResult p = vwx.Wait(pid);
    ASSERT_EQ(p.status, 0) << p.err;
    EXPECT_TRUE(tty.Echoing()); // restored
    EXPECT_EQ(tty.Transcript().find("Segreto"), std::string::npos) << tty.Transcript();
    EXPECT_EQ(tty.Transcript().find("Perch"), std::string::npos);

    // Restoring asks once; the typed UTF-8 text keys like the same text given otherwise.
    std::filesystem::remove(dir / "a.txt");
    const pid_t r = vwx.Start({dir / "a.vwx"}, {}, "", tty.SlaveName());
    ASSERT_TRUE(tty.WaitFor(kFirst));
    tty.Type("Perch\xC3\xA9!\n");
    const RunResult restored = vwx.Wait(r);
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(tty.Transcript().find(kSecond, tty.Transcript().rfind(kFirst)), std::string::npos);
    EXPECT_EQ(ReadFile(dir / "a.txt"), original);
}

// Ctrl-C cancels a protect, end of input a restore: the echo comes back, nothing is written.
TEST_F(VwxTerminal, CtrlCOrEndOfInputAtThePromptCancels) {
    for (const auto& [file, typed, status] :
         {std::tuple{"a.txt", "Segr\x03", 11}, std::tuple{"a.vwx", "\x04", 21}}) {
        SCOPED_TRACE(file);
        WriteFile(dir / file, RandomData(3000, 9));
        const pid_t pid = vwx.Start({dir / file}, {}, "", tty.SlaveName());
        ASSERT_TRUE(tty.WaitFor(kFirst));
        tty.Type(typed);
        const RunResult p = vwx.Wait(pid);
        EXPECT_EQ(p.status, status);
        if (status == 11) {
            EXPECT_NE(p.err.find("Elaborazione interrota"), std::string::npos);
        }
        EXPECT_TRUE(tty.Echoing());
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{file});
        std::filesystem::remove(dir / file);
    }
}

TEST_F(VwxTerminal, ProgressBarOnlyOnATerminal) {
    WriteFile(dir / "a.bin", RandomData(400000, 2));
    vwx.stderrOnTerminal = true;
    const pid_t pid = vwx.Start({dir / "a.bin"}, {"VWX_PASSWORD=Segreto1"}, "", tty.SlaveName());
    ASSERT_TRUE(tty.WaitFor("\r["));
    ASSERT_TRUE(tty.WaitFor("%"));
    const RunResult p = vwx.Wait(pid);
    ASSERT_EQ(p.status, 0);
    EXPECT_EQ(p.out, dir / "a.vwx" + "\n"); // standard output stays clean
    EXPECT_TRUE(tty.WaitFor("\x1b[K"));     // the bar's line is cleared at the end
}

// The CPU time a process has used, in milliseconds.
long CpuMilliseconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string skip;
    for (int i = 0; i < 11; ++i)
        fields >> skip; // state .. cmajflt
    long utime = 0, stime = 0;
    fields >> utime >> stime;
    return (utime + stime) * 1000 / ::sysconf(_SC_CLK_TCK);
}

// Starts a job on a large file, interrupts it once it is well under way, and returns the
// result. The file is big enough that the job runs for a good while after the signal.
RunResult InterruptedRun(VwxProcess& vwx, const std::vector<std::string>& args) {
    const pid_t pid = vwx.Start(args, {"VWX_PASSWORD=Segreto1"});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (CpuMilliseconds(pid) < 150 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ::kill(pid, SIGINT);
    return vwx.Wait(pid);
}

Bytes FastRandom(std::size_t size) {
    Bytes data(size);
    std::uint64_t x = 0x9E3779B97F4A7C15ull;
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        std::memcpy(data.data() + i, &x, 8);
    }
    return data;
}

TEST(VwxInterrupt, InterruptDuringAJobEndsItWithNothingWritten) {
    TempDir dir;
    VwxProcess vwx;
    constexpr std::size_t kSize = 32u << 20;
    {
        const Bytes big = FastRandom(kSize);
        WriteFile(dir / "big.bin", big);
        // Any large file named like a protected one is decrypted whole before its check
        // values can be compared, so it serves for an interrupted restore as well.
        WriteFile(dir / "big.vwx", big);
    }
    const RunResult p = InterruptedRun(vwx, {"-f", dir / "big.bin"});
    EXPECT_EQ(p.status, 11) << p.err;
    EXPECT_NE(p.err.find("Elaborazione interrota"), std::string::npos);
    EXPECT_EQ(p.out, "");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"big.bin", "big.vwx"}));

    const RunResult r = InterruptedRun(vwx, {"-o", dir / "restored", dir / "big.vwx"});
    EXPECT_EQ(r.status, 21) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"big.bin", "big.vwx"}));
    EXPECT_EQ(std::filesystem::file_size(dir / "big.vwx"), kSize);
}

} // namespace
} // namespace vw::test
