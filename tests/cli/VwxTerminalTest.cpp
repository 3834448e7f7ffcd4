// vwx on a pseudo-terminal: the password is asked without echo, twice when protecting (once
// when restoring: a second prompt would hold up the end), and Ctrl-C or the end of input at a
// prompt cancels.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>

#include "VwxProcess.h"

namespace vw::test {
namespace {

TEST(VwxTerminal, AsksWithoutEchoTwiceWhenProtectingOnceWhenRestoring) {
    int master = -1, slave = -1; // the slave stays open so its settings can be read
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    VwxProcess vwx;
    vwx.terminal = ::ttyname(slave);
    const Bytes original = TextData(3000, 9);
    WriteFile(vwx.dir / "a.txt", original);
    std::string shown; // all vwx wrote on the terminal
    std::size_t seen = 0;
    const auto waitFor = [&](const std::string& text) { // after what the last wait found
        for (int wait = 0; wait < 20000; ++wait) {
            if (const auto at = shown.find(text, seen); at != std::string::npos)
                return seen = at + text.size(), true;
            char buffer[512];
            pollfd ready{master, POLLIN, 0};
            const ssize_t n = ::poll(&ready, 1, 1) > 0 ? ::read(master, buffer, 512) : 0;
            shown.append(buffer, n > 0 ? std::size_t(n) : 0);
        }
        return false;
    };
    const auto echoing = [&] {
        termios settings{};
        return ::tcgetattr(slave, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
    };
    const std::string first = "Inserisci la password: ", second = "Ripeti password: ";
    const std::string pw = "Perch\u00E9!\n", cancelled = "Elaborazione interrota";
    const std::string bar = "%\r\x1b[K"; // the progress bar, its line cleared at the end
    for (const auto& [file, script, status] :
         {std::tuple<std::string, std::vector<std::string>, int>{
              "a.txt", {first, "Segr\x03", cancelled}, 11},
          {"a.txt",
           {first, "Segreto1\n", second, "Segreto2\n", "conincidono\r\n" + first, pw, second, pw,
            bar},
           0},
          {"a.vwx", {first, "\x04", cancelled}, 21},
          {"a.vwx", {first, pw, bar}, 0}}) {
        SCOPED_TRACE(file + " " + std::to_string(status));
        const auto files = Files(vwx.dir);
        const pid_t pid = vwx.Start({file}, "");
        for (std::size_t i = 0; i < script.size(); i += 2) { // shown, then typed
            ASSERT_TRUE(waitFor(script[i])) << shown;
            if (i + 1 == script.size()) break;
            EXPECT_FALSE(echoing());
            ::write(master, script[i + 1].data(), script[i + 1].size());
        }
        EXPECT_EQ(vwx.Wait(pid).status, status);
        EXPECT_TRUE(echoing());
        EXPECT_EQ(status != 0 ? Files(vwx.dir) : files, files);
        if (file == "a.txt" && status == 0) std::filesystem::remove(vwx.dir / "a.txt");
    }
    EXPECT_EQ(ReadFile(vwx.dir / "a.txt"), original);
    EXPECT_EQ(shown.find("Segr"), std::string::npos) << shown; // nothing typed is echoed
    EXPECT_EQ(shown.find("Perch"), std::string::npos);
    ::close(slave);
    ::close(master);
}

} // namespace
} // namespace vw::test
