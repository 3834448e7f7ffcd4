// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <thread>

#include "cli/FdWrite.h"
#include "cli/PasswordInput.h"
#include "cli/PasswordSource.h"
#include "cli/ProgressBar.h"
#include "cli/Secrets.h"
#include "tests/support/TempDir.h"

namespace vw::cli {

// Asks like the dialog until the rules accept; an answer is wiped once judged, before ask again.
TEST(AskNewPassword, AsksUntilAcceptedWipingEveryJudgedAnswer) {
    const std::vector<std::string> answers{"Segreto1",     "segreto1",    "abab",
                                           "abab",         "\u0100bcdef", "\u0100bcdef",
                                           "Perch\u00E9!", "Perch\u00E9!"};
    std::string prompts, told, password;
    const auto ask = [&](const char* prompt, std::string& answer) {
        EXPECT_EQ(answer, "") << "not wiped before answer " << prompts.size();
        prompts += prompt[0]; // "Inserisci la password: " or "Ripeti password: "
        answer = answers.at(prompts.size() - 1);
        return true;
    };
    const auto tell = [&](const std::string& message) { told += message + "|"; };
    EXPECT_EQ(AskNewPassword(ask, tell, password) ? password : "", "Perch\u00E9!");
    EXPECT_EQ(prompts + told, "IRIRIRIRLe password non conincidono|Password troppo corta|" +
                                  UnusablePasswordText("\u0100") + "|");
}

// A password file that delivers its line a byte at a time (a slow pipe) is read whole.
TEST(ObtainPassword, ALineArrivingAByteAtATimeIsReadWhole) {
    test::TempDir dir;
    const std::string fifo = dir / "pw";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const sighandler_t handler = ::signal(SIGPIPE, SIG_IGN); // a reader gone early: a failure
    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY | O_CLOEXEC);
        for (const char c : std::string("Segreto1\n")) {
            EXPECT_EQ(::write(fd, &c, 1), 1);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        ::close(fd);
    });
    Options options;
    options.passwordFile = fifo;
    std::string typed;
    EXPECT_FALSE(ObtainPassword(options, false, typed).has_value());
    writer.join();
    ::signal(SIGPIPE, handler);
    EXPECT_EQ(typed, "Segreto1");
}

// A write that blocks (a full pipe nobody reads) ends at Ctrl-C, failed, instead of waiting on.
TEST(WriteAll, AnInterruptEndsAWriteThatBlocks) {
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_NONBLOCK), 0);
    const std::string chunk(4096, 'x');
    while (::write(ends[1], chunk.data(), chunk.size()) > 0) {
    }
    ::fcntl(ends[1], F_SETFL, 0); // blocking again, and full
    struct sigaction action = {}, before = {};
    action.sa_handler = [](int signal) { Interrupted = signal; };
    ASSERT_EQ(::sigaction(SIGALRM, &action, &before), 0); // no SA_RESTART, as vwx's
    ::ualarm(50000, 0);
    errno = 0;
    EXPECT_FALSE(WriteAll(ends[1], chunk));
    EXPECT_EQ(std::pair(errno, static_cast<int>(Interrupted)), std::pair(EINTR, SIGALRM));
    Interrupted = 0;
    ::sigaction(SIGALRM, &before, nullptr);
    ::close(ends[0]), ::close(ends[1]);
}

// Wiped once served: a refused password (endless line, outside the code page), the typed one
// once converted, the rest after the job.
TEST(Secrets, WipedOnceTheyHaveServed) {
    ::setenv(kPasswordVariable, "\u0100bcdef", 1);
    for (const std::string file : {"/dev/zero", ""}) {
        std::string typed;
        EXPECT_EQ(ObtainPassword(Options{"", "", file}, true, typed).value_or(Refusal{}).status, 3);
        EXPECT_EQ(typed, "");
    }
    ::unsetenv(kPasswordVariable);
    Secrets secrets{"Perch\u00E9!", "", "code"};
    const auto job = [](const Secrets& keys) { // keyed in the code page, typed already wiped
        return keys.typed + "|" + keys.password + "|" + keys.privateCode == "|Perch\xE9!|code";
    };
    EXPECT_EQ(RunKeyed(secrets, job), 1);
    EXPECT_EQ(secrets.typed + secrets.password + secrets.privateCode, "");
}

// Narrower than the terminal: the name loses its start first (never half a character; wide ones
// take two columns), then speed and time (the time taken when done) go.
TEST(ProgressText, FiguresAndTheNameCutToFitTheWidth) {
    using Row = std::tuple<ProgressFigures, int, std::string>;
    for (const auto& [figures, width, text] :
         {Row{{"a.txt", 42, 12.345, 65}, 80, "a.txt   42%  12.3 MB/s  1:05 left"},
          Row{{"a.txt", -5, -1, -1}, 80, "a.txt    0%  -- MB/s  -:-- left"},
          Row{{"a.txt", 250, 0.04, 3725.4, true}, 80, "a.txt  100%  0.0 MB/s  1:02:05"},
          Row{{"dir/a.txt", 7, 1, 59.6}, 30, "\u2026t    7%  1.0 MB/s  1:00 left"},
          Row{{"dir/a.txt", 7, 1, 59.6}, 29, "dir/a.txt    7%"},
          Row{{"\u6f22\u5b57\u6f22\u5b57.txt", 7, 1, 1}, 14, "\u2026\u5b57.txt    7%"},
          Row{{"a.txt", 7, 1, 1}, 6, "  7%"},
          // Widths from the C library: a rocket takes two columns, a combining accent none.
          Row{{"\U0001F680\U0001F680\U0001F680", 7, 1, 1}, 11, "\u2026\U0001F680    7%"},
          Row{{"e\u0301e\u0301.txt", 7, 1, 1}, 16, "e\u0301e\u0301.txt    7%"},
          Row{{"a.txt", 100, 1, 1}, 5, "100%"}, Row{{"a.txt", 7, 1, 1}, 3, "7%"},
          Row{{"a.txt", 7, 1, 1}, 2, ""}}) {
        EXPECT_EQ(ProgressText(figures, width), text) << width;
    }
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    // A restore's decoding reports 45 after decryption reached 50; the window narrows meanwhile.
    int columns = 80;
    ProgressBar bar(ends[1], [&columns] { return columns; });
    bar.Start("a.txt", 1000), bar.Show(50), bar.Show(45), columns = 12, bar.Show(51);
    ::close(ends[1]);
    char drawn[512] = {};
    ASSERT_GT(::read(ends[0], drawn, sizeof drawn - 1), 0);
    const std::string lines = drawn;
    EXPECT_TRUE(lines.find("45%") == std::string::npos &&
                lines.find(" 50%  ") != std::string::npos);
    EXPECT_EQ(lines.substr(lines.rfind('\r')), "\ra.txt   51%\x1b[K");
    ::close(ends[0]);
}

} // namespace vw::cli
