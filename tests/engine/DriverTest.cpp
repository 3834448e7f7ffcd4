#include "engine/Driver.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "engine/JobState.h"

namespace vw {
namespace {

TEST(PasswordRule, RefusesShortAndRepeatedPasswords) {
    EXPECT_FALSE(IsAcceptablePassword(""));
    EXPECT_FALSE(IsAcceptablePassword("abcd"));
    EXPECT_FALSE(IsAcceptablePassword("aaaaa"));     // one character repeated
    EXPECT_FALSE(IsAcceptablePassword("ababab"));    // two characters, three times
    EXPECT_FALSE(IsAcceptablePassword("abcabc"));    // three characters, twice
    EXPECT_FALSE(IsAcceptablePassword("xyzxyzxyz")); // found at the third piece length
}

TEST(PasswordRule, AcceptsEverythingElse) {
    EXPECT_TRUE(IsAcceptablePassword("abcde"));
    EXPECT_TRUE(IsAcceptablePassword("abababa")); // last piece shorter than the pattern
    EXPECT_TRUE(IsAcceptablePassword("aaaaB"));
    EXPECT_TRUE(IsAcceptablePassword("abcABC")); // letter case counts
    EXPECT_TRUE(IsAcceptablePassword(std::string(5, '\xE9') + "x"));
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

TEST_F(DriverChecks, PasswordIsCheckedBeforeTheFile) {
    const std::string missing = dir / "missing.txt";
    EXPECT_EQ(ProcessFile(missing, missing, "abcd", ""), missing);
    EXPECT_EQ(JobStatus, 3);
    EXPECT_EQ(StatusMessage, "Password troppo corta");
}

TEST_F(DriverChecks, MissingAndEmptySources) {
    const std::string missing = dir / "missing.txt";
    EXPECT_EQ(ProcessFile(missing, missing, "secret1", ""), missing);
    EXPECT_EQ(JobStatus, 4);
    EXPECT_EQ(StatusMessage, "File non trovato");

    const std::string empty = dir / "empty.txt";
    test::WriteFile(empty, std::string());
    EXPECT_EQ(ProcessFile(empty, empty, "secret1", ""), empty);
    EXPECT_EQ(JobStatus, 6);
    EXPECT_EQ(StatusMessage, "File vuoto");
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
