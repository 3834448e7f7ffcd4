#include "engine/Driver.h"

#include <gtest/gtest.h>

#include "engine/JobState.h"
#include "tests/support/TempDir.h"

namespace vw {
namespace {

TEST(PasswordRule, RefusesShortAndRepeatedPasswordsOnly) {
    // Repeats: one character, two characters three times, three twice, found at the third
    // piece length.
    for (const char* refused : {"", "abcd", "aaaaa", "ababab", "abcabc", "xyzxyzxyz"})
        EXPECT_FALSE(IsAcceptablePassword(refused)) << refused;
    // The last piece shorter than the pattern; letter case counts.
    for (const std::string accepted :
         {"abcde", "abababa", "aaaaB", "abcABC", "\xE9\xE9\xE9\xE9\xE9x"})
        EXPECT_TRUE(IsAcceptablePassword(accepted)) << accepted;
}

TEST(FileKindDetection, LooksForVwxInTheFileNameOnly) {
    EXPECT_EQ(DetectFileKind("/d/Docs/report.VWX"), FileKind::Protected);
    EXPECT_EQ(DetectFileKind("/d/Docs/myvwxnotes.txt"), FileKind::Protected);
    EXPECT_EQ(DetectFileKind("/d/Docs/report.txt"), FileKind::Plain);
    EXPECT_EQ(DetectFileKind("/d/vwxfiles/notes.txt"), FileKind::Plain);
    EXPECT_EQ(DetectFileKind(""), FileKind::Plain);
}

class DriverChecks : public ::testing::Test {
  protected:
    test::TempDir dir;
};

TEST_F(DriverChecks, PasswordFirstThenMissingAndEmptySources) {
    const std::string missing = dir / "missing.txt";
    const std::string empty = dir / "empty.txt";
    test::WriteFile(empty, std::string());
    struct Case {
        std::string path;
        const char* password;
        int status;
        const char* message;
    };
    for (const Case& c : {Case{missing, "abcd", 3, "Password troppo corta"},
                          Case{missing, "secret1", 4, "File non trovato"},
                          Case{empty, "secret1", 6, "File vuoto"}}) {
        EXPECT_EQ(ProcessFile(c.path, c.path, c.password, ""), c.path);
        EXPECT_EQ(JobStatus, c.status);
        EXPECT_EQ(StatusMessage, c.message);
    }
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"empty.txt"});
}

TEST_F(DriverChecks, ADirectoryIsNoSourceFile) {
    EXPECT_EQ(ProcessFile(dir.path().string(), dir / "x", "secret1", ""), dir.path().string());
    EXPECT_EQ(JobStatus, 4);
}

TEST_F(DriverChecks, EachJobClearsThePreviousOutcome) {
    ProcessFile(dir / "missing", dir / "missing", "abc", "");
    ASSERT_EQ(JobStatus, 3);
    const std::string file = dir / "a.txt";
    test::WriteFile(file, std::string("hello world"));
    EXPECT_EQ(ProcessFile(file, dir / "b.txt", "secret1", ""), dir / "b.vwx");
    EXPECT_EQ(JobStatus, 0);
    EXPECT_EQ(StatusMessage, "");
    EXPECT_EQ(ErrorDescription, "");
}

TEST(StatusTable, MessagesOfEveryCode) {
    const std::pair<int, const char*> table[] = {
        {1, "Impossibile continuare 1"}, {2, "Impossibile continuare 2"},
        {3, "Password troppo corta"},    {4, "File non trovato"},
        {5, "Errore di compressione"},   {6, "File vuoto"},
        {10, "Errore Generico 1"},       {11, "Elaborazione interrota"},
        {12, "Errore: disk full"},       {20, "Errore generico 2"},
        {21, "Elaborazione interrota"},  {22, "Errore: disk full"},
        {23, "Errore Generico 3"},       {30, "Errore File corrotto"},
        {33, "Errore Generico 4"}};
    for (const auto& [code, text] : table) {
        JobStatus = static_cast<std::int16_t>(code);
        ErrorDescription = "disk full";
        StatusMessage = "previous";
        SetStatusMessage();
        EXPECT_EQ(StatusMessage, text) << code;
    }
    JobStatus = 7; // outside the table: unchanged
    StatusMessage = "previous";
    SetStatusMessage();
    EXPECT_EQ(StatusMessage, "previous");
    JobStatus = 0;
}

} // namespace
} // namespace vw
