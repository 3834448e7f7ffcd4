// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// vwx on a pseudo-terminal: the password is asked without echo, twice when protecting (once when
// restoring: a second prompt would hold up the end), the private code twice; Ctrl-C or the end of
// input cancels. It runs under the C locale, so vwx speaks Italian.
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
    auto waitForNext = [&, seen = std::size_t{0}](const std::string& text) mutable {
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
        termios t{};
        return ::tcgetattr(slave, &t) == 0 && t.c_lflag & ECHO;
    };
    const std::string first = "Inserisci la password: ", second = "Ripeti password: ";
    const std::string code = "Codice privato: ", confirm = "Ripeti il codice privato: ";
    // A file's progress line: its last state stays, all of it when done.
    const std::string pw = "Perch\u00E9!\n", done = "  100%  ", end = " MB/s  0:00\x1b[K\r\n";
    const std::vector<std::string> twice{
        first, "Segreto1\n",     second, "Segreto2\n", "conincidono\r\n" + first, pw, second,
        pw,    "\ra.txt" + done, "",     end};
    // The arguments, the exit status, and in turn what vwx shows and what is typed then.
    using Run = std::tuple<std::vector<std::string>, int, std::vector<std::string>>;
    for (const auto& [args, status, script] :
         {Run{{"a.txt"}, 130, {first, "Segr\x03", "Elaborazione interrota"}},
          Run{{"a.txt"}, 11, {first, "\x04", "Elaborazione interrota"}}, // no input: no answer
          Run{{"a.txt"}, 0, twice}, Run{{"a.vwx"}, 21, {first, "\x04", "Elaborazione interrota"}},
          Run{{"-o", "b", "a.vwx"}, 0, {first, pw, "\ra.vwx" + done, "", end}},
          // Standard input that is the terminal is asked on as such.
          Run{{"--password-file", "-", "-o", "c", "a.vwx"},
              0,
              {first, pw, "\ra.vwx" + done, "", end}},
          // One password for all, asked twice when one file is protected.
          Run{{"a.vwx", "b.txt"},
              73,
              {first, pw, second, pw, "vwx: a.vwx: a.txt esiste gi\u00E0", "", "\rb.txt" + done, "",
               end}},
          // The private code, asked the same way.
          Run{{"--store-private-code"},
              130,
              {code, "Kodi\x03", "annullato; non \u00E8 stato salvato nulla"}},
          Run{{"--store-private-code"},
              0,
              {code, "Codice1\n", confirm, "Codice2\n", "non coincidono\r\n" + code, "Codice1\n",
               confirm, "Codice1\n"}}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const pid_t pid = vwx.Start(args, "");
        for (std::size_t i = 0; i < script.size(); i += 2) {
            EXPECT_TRUE(waitForNext(script[i])) << shown; // the run is still reaped below
            const std::string typed = i + 1 < script.size() ? script[i + 1] : "";
            EXPECT_TRUE(typed.empty() || !echoing()); // while vwx waits for typing
            ::write(master, typed.data(), typed.size());
        }
        EXPECT_EQ(vwx.Wait(pid).status, status);
        EXPECT_TRUE(echoing());
    }
    for (const char* typed : {"Segr", "Kodi"}) // nothing typed is echoed
        EXPECT_EQ(shown.find(typed), std::string::npos) << shown;
    ::close(slave), ::close(master);
}

} // namespace vw::test
