#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/FileIO.h"
#include "engine/ProtectedFile.h"
#include "tests/support/TempDir.h"

namespace vw {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

unsigned ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

void WriteText(AtomicFile& file, const std::string& text) {
    file.Write(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

TEST(AtomicFile, ResultGetsTheModeLessTheUmaskWhileTheTemporaryFileStaysPrivate) {
    TempDir dir;
    struct Case {
        mode_t umask;
        unsigned mode, expected;
    };
    for (const Case& c : {Case{077, 0644, 0600}, Case{022, 04777, 0644}, Case{0, 0664, 0664}}) {
        const mode_t before = ::umask(c.umask);
        {
            AtomicFile file(dir / "out");
            EXPECT_EQ(ModeOf(file.TempPath()), 0600u);
            file.Commit(c.mode);
        }
        ::umask(before);
        EXPECT_EQ(ModeOf(dir / "out"), c.expected) << std::oct << c.umask << " " << c.mode;
    }
}

TEST(AtomicFile, CommitWithoutReplacingKeepsAnExistingFile) {
    TempDir dir;
    WriteFile(dir / "taken", std::string("old"));
    {
        AtomicFile file(dir / "taken");
        WriteText(file, "new");
        EXPECT_THROW(file.Commit(0644, false), OutputExistsError);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"taken"}); // no temporary file left
    }
    EXPECT_EQ(ReadFile(dir / "taken"), Bytes({'o', 'l', 'd'}));
    {
        AtomicFile file(dir / "free");
        WriteText(file, "new");
        file.Commit(0644, false);
    }
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"free", "taken"}));
    EXPECT_EQ(ReadFile(dir / "free"), Bytes({'n', 'e', 'w'}));
}

TEST(StaleTempFiles, OnlyFilesNobodyHoldsLockedAreRemoved) {
    TempDir dir;
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    // Process ids say nothing across containers or machines: neither name protects a file.
    const std::string held = dir / (std::string(kTempPrefix) + "999999-held");
    const std::string stale = dir / (std::string(kTempPrefix) + std::to_string(::getppid()) + "-x");
    WriteFile(held, std::string("half"));
    WriteFile(stale, std::string("half"));
    const int holder = ::open(held.c_str(), O_RDONLY | O_CLOEXEC); // a paused job elsewhere
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    AtomicFile live(dir / "out");
    for (const std::string& path : {held, stale, live.TempPath()})
        std::filesystem::last_write_time(path, old);

    RemoveStaleTempFiles(dir.path().string(), std::time(nullptr));
    ::close(holder);
    EXPECT_TRUE(std::filesystem::exists(held));
    EXPECT_TRUE(std::filesystem::exists(live.TempPath()));
    EXPECT_FALSE(std::filesystem::exists(stale));
}

} // namespace
} // namespace vw
