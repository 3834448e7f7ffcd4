#include <gtest/gtest.h>

#include "cli/PasswordInput.h"
#include "cli/PasswordSource.h"
#include "cli/ProgressBar.h"
#include "cli/Secrets.h"
#include "tests/support/TempDir.h"

namespace vw::cli {

// A password that cannot be used is not kept: a password file's line over the limit, or
// characters the code page cannot carry.
TEST(ObtainPassword, WipesWhatItRefuses) {
    test::TempDir dir;
    test::WriteFile(dir / "pw", std::string(kMaxPasswordLine + 1, 'k'));
    ::setenv(kPasswordVariable, "\u0100bcdef", 1);
    for (const std::string& file : {dir / "pw", std::string()}) {
        const Options options{"", "", file};
        std::string typed;
        EXPECT_EQ(ObtainPassword(options, true, typed).value_or(Refusal{}).status, 3);
        EXPECT_EQ(typed, "");
    }
    ::unsetenv(kPasswordVariable);
}

// Asks until the answers agree and the rules accept them, like the dialog. An answer is wiped
// once judged, so ask always gets an empty buffer, and a user who gives up keeps no password.
TEST(AskNewPassword, AsksUntilAcceptedWipingEveryJudgedAnswer) {
    const std::vector<std::string> answers{"Segreto1",     "segreto1",    "abab",
                                           "abab",         "\u0100bcdef", "\u0100bcdef",
                                           "Perch\u00E9!", "Perch\u00E9!"};
    for (const std::size_t given : {answers.size(), answers.size() - 1}) {
        std::size_t asked = 0;
        std::string prompts, told, password;
        const auto ask = [&](const char* prompt, std::string& answer) {
            EXPECT_EQ(answer, "") << "not wiped before answer " << asked;
            prompts += prompt[0]; // "Inserisci la password: " or "Ripeti password: "
            if (asked == given) return false;
            answer = answers[asked++];
            return true;
        };
        const auto tell = [&](const std::string& message) { told += message + "|"; };
        EXPECT_EQ(AskNewPassword(ask, tell, password), given == answers.size());
        EXPECT_EQ(password, given == answers.size() ? "Perch\u00E9!" : "");
        EXPECT_EQ(prompts, "IRIRIRIR");
        EXPECT_EQ(told, "Le password non conincidono|Password troppo corta|" +
                            UnusablePasswordText("\u0100") + "|");
    }
}

TEST(RunKeyed, TheJobKeysWithTheCodePagePasswordAndEverySecretIsWiped) {
    Secrets secrets{"Perch\u00E9!", "", "code"};
    const int status = RunKeyed(secrets, [&](const Secrets& keys) {
        EXPECT_EQ(secrets.typed, ""); // wiped before the job runs
        EXPECT_EQ(keys.password, "Perch\xE9!");
        EXPECT_EQ(keys.privateCode, "code");
        return 7;
    });
    EXPECT_EQ(status, 7);
    EXPECT_EQ(secrets.typed + secrets.password + secrets.privateCode, "");
}

TEST(ProgressLine, BarAndPercentageClampedTo0To100) {
    EXPECT_EQ(ProgressLine(-3, 10) + ProgressLine(9, 10) + ProgressLine(45, 10) +
                  ProgressLine(250, 10),
              "\r[..........]   0%\r[..........]   9%\r[####......]  45%\r[##########] 100%");
}

} // namespace vw::cli
