// vwx on a pseudo-terminal: the password is asked without echo, twice when protecting (once
// when restoring: a second prompt would hold up the end), and Ctrl-C or the end of input at a
// prompt cancels.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>

#include "VwxProcess.h"

namespace vw::test {

TEST(VwxTerminal, AsksWithoutEchoTwiceWhenProtectingOnceWhenRestoring) {
    int master = -1, slave = -1; // the slave stays open so its settings can be read
    ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
    VwxProcess vwx;
    vwx.terminal = ::ttyname(slave);
    WriteFile(vwx.dir / "a.txt", TextData(3000, 9));
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
    // The file, the exit status, and in turn what vwx shows and what is typed then.
    using Run = std::tuple<std::string, int, std::vector<std::string>>;
    for (const auto& [file, status, script] :
         {Run{"a.txt", 11, {first, "Segr\x03", cancelled}},
          Run{"a.txt",
              0,
              {first, "Segreto1\n", second, "Segreto2\n", "conincidono\r\n" + first, pw, second, pw,
               bar}},
          Run{"a.vwx", 21, {first, "\x04", cancelled}}, Run{"a.vwx", 0, {first, pw, bar}}}) {
        SCOPED_TRACE(file + " " + std::to_string(status));
        const auto files = Files(vwx.dir);
        const pid_t pid = vwx.Start({file}, "");
        for (std::size_t i = 0; i < script.size(); i += 2) {
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
    EXPECT_EQ(shown.find("Segr"), std::string::npos) << shown; // nothing typed is echoed
    ::close(slave), ::close(master);
}

} // namespace vw::test
