#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

TEST(FileKindDetection, LooksForVwxInTheFileNameOnly) {
    for (const auto& [path, kind] : {std::pair{"/d/Docs/report.VWX", FileKind::Protected},
                                     {"/d/Docs/myvWxnotes.txt", FileKind::Protected},
                                     {"/d/Docs/report.txt", FileKind::Plain},
                                     {"/d/vwxfiles/notes.txt", FileKind::Plain},
                                     {"", FileKind::Plain}})
        EXPECT_EQ(DetectFileKind(path), kind) << path;
}

TEST(ReportProgress, ZeroChangesNothingAndMoreThan100Is100) {
    ScopedTestHost scope;
    for (const double percent : {0.0, 120.0, 37.0})
        ReportProgress(percent);
    EXPECT_EQ(scope.host.progress, (std::vector<int>{100, 37}));
}

using DriverChecks = JobTest;

TEST_F(DriverChecks, PasswordFirstThenMissingAndEmptySourcesThenTheJob) {
    const std::string missing = dir / "missing.txt", empty = dir / "empty.txt";
    WriteFile(empty, "");
    const std::tuple<std::string, const char*, int, const char*> cases[] = {
        {missing, "abcd", 3, "Password troppo corta"},
        {missing, "secret1", 4, "File non trovato"},
        {dir.path().string(), "secret1", 4, "File non trovato"}, // a folder is no source file
        {empty, "secret1", 6, "File vuoto"}};
    for (const auto& [path, password, status, message] : cases) {
        EXPECT_EQ(Run(path, path, password), path);
        EXPECT_EQ(JobStatus, status);
        EXPECT_EQ(StatusMessage, message);
    }
    EXPECT_EQ(host.eventCalls, 0);
    // Each job clears the outcome of the one before; codes outside the table leave the message.
    WriteFile(dir / "a.txt", "hello world");
    EXPECT_EQ(Run(dir / "a.txt", dir / "gone/a.txt"), dir / "a.txt");
    ASSERT_EQ(JobStatus, 12);
    EXPECT_EQ(Run(dir / "a.txt", dir / "b.txt"), dir / "b.vwx");
    EXPECT_EQ(JobStatus, 0);
    EXPECT_EQ(StatusMessage + ErrorDescription, "");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.txt", "b.vwx", "empty.txt"}));
    JobStatus = 7;
    StatusMessage = "previous";
    SetStatusMessage();
    EXPECT_EQ(StatusMessage, "previous");
}

} // namespace
} // namespace vw::test
