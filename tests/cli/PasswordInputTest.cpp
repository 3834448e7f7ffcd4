#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli/PasswordInput.h"
#include "cli/ProgressBar.h"
#include "tests/support/TempDir.h"

namespace vw::cli {
namespace {

TEST(ReadPasswordFile, ReadsTheFirstLineOnlyAndReportsAMissingFile) {
    test::TempDir dir;
    std::string line, error;
    const std::string longLine(kMaxPasswordLine, 'k');
    const std::pair<std::string, std::string> cases[] = {
        {"Segreto1\nother\n", "Segreto1"},
        {"Segreto1\r\n", "Segreto1"},
        {"no line break", "no line break"},
        {"  spaced \t\n", "  spaced \t"},
        {"", ""},
        {longLine + "\n", longLine},
    };
    for (const auto& [content, expected] : cases) {
        test::WriteFile(dir / "pw", content);
        EXPECT_EQ(ReadPasswordFile(dir / "pw", line, error), PasswordFileRead::Read);
        EXPECT_EQ(line, expected);
    }
    EXPECT_EQ(ReadPasswordFile("/nonexistent/vwx/pw", line, error), PasswordFileRead::Failed);
    EXPECT_NE(error.find("/nonexistent/vwx/pw"), std::string::npos);
    // A line past the limit is no password, and an endless one ends too.
    test::WriteFile(dir / "pw", longLine + "k");
    for (const std::string& path : {dir / "pw", std::string("/dev/zero")}) {
        EXPECT_EQ(ReadPasswordFile(path, line, error), PasswordFileRead::TooLong);
        EXPECT_NE(error.find("longer than 65536 bytes"), std::string::npos) << error;
    }
}

// Scripted answers for the two-box prompt; nullopt stands for the user giving up.
struct Script {
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> prompts;
    std::vector<std::string> told;

    std::optional<std::string> Run() {
        const AskFunction ask = [this](const char* prompt) -> std::optional<std::string> {
            prompts.emplace_back(prompt);
            if (answers.empty()) return std::nullopt;
            auto a = answers.front();
            answers.pop_front();
            return a;
        };
        const TellFunction tell = [this](const std::string& m) { told.push_back(m); };
        return AskNewPassword(ask, tell);
    }
};

TEST(AskNewPassword, RefusesAndAsksAgainLikeTheDialog) {
    Script s{{"Segreto1", "segreto1", // case counts
              "", "",                 // empty
              "abcd", "abcd",         // four characters
              "ababab", "ababab",     // one piece repeated
              "\u0100\u0112\u012A\u014C\u016A",
              "\u0100\u0112\u012A\u014C\u016A", // not in the code page
              "Perch\xC3\xA9!", "Perch\xC3\xA9!"},
             {},
             {}};
    EXPECT_EQ(s.Run(), "Perch\xC3\xA9!");
    EXPECT_EQ(s.told, (std::vector<std::string>{
                          "Le password non conincidono", "Le password non conincidono",
                          "Password troppo corta", "Password troppo corta",
                          UnusablePasswordText("\u0100\u0112\u012A\u014C\u016A")}));
    EXPECT_EQ(s.prompts.size(), 12u);
    EXPECT_EQ(s.prompts[0], "Inserisci la password: ");
    EXPECT_EQ(s.prompts[1], "Ripeti password: ");
}

TEST(AskNewPassword, GivingUpAtEitherPromptEndsIt) {
    Script first{{std::nullopt}, {}, {}};
    EXPECT_EQ(first.Run(), std::nullopt);
    Script second{{"Segreto1", std::nullopt}, {}, {}};
    EXPECT_EQ(second.Run(), std::nullopt);
    EXPECT_EQ(second.prompts.size(), 2u);
}

TEST(ProgressLine, DrawsBarAndPercentage) {
    EXPECT_EQ(ProgressLine(0, 10), "\r[..........]   0%");
    EXPECT_EQ(ProgressLine(45, 10), "\r[####......]  45%");
    EXPECT_EQ(ProgressLine(100, 10), "\r[##########] 100%");
    EXPECT_EQ(ProgressLine(250, 10), ProgressLine(100, 10));
    EXPECT_EQ(ProgressLine(-3, 10), ProgressLine(0, 10));
}

} // namespace
} // namespace vw::cli
