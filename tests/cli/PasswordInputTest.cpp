#include <gtest/gtest.h>

#include "cli/PasswordInput.h"
#include "cli/PasswordSource.h"
#include "cli/ProgressBar.h"
#include "cli/Secrets.h"

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

TEST(ProgressLine, BarAndPercentageClampedTo0To100) {
    EXPECT_EQ(ProgressLine(-3, 4) + ProgressLine(50, 4) + ProgressLine(250, 4),
              "\r[....]   0%\r[##..]  50%\r[####] 100%");
}

} // namespace vw::cli
