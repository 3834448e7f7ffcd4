// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The files a job writes (atomic, private until complete, cleaned up after killed jobs) and the
// path functions and file kinds that name them.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>

#include "engine/format/FileKind.h"
#include "engine/io/FileIO.h"
#include "engine/io/Paths.h"
#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

TEST(AtomicFile, TheResultFollowsTheUmaskWhileTheTemporaryFileStaysPrivate) {
    TempDir dir;
    for (const auto& [umask, mode, expected] :
         {std::tuple<mode_t, unsigned, unsigned>{077, 0644, 0600},
          {022, 04777, 0644},
          {0, 0664, 0664}}) {
        const mode_t before = ::umask(umask);
        {
            AtomicFile file(dir / "out");
            EXPECT_EQ(FilePermissions(file.TempPath()), 0600u); // the temporary file stays private
            file.Commit(mode);
        }
        ::umask(before);
        EXPECT_EQ(FilePermissions(dir / "out"), expected) << std::oct << umask << " " << mode;
    }
}

// A job removes what killed jobs left in its output folder: temporary files nobody holds locked,
// and nothing else, however much it looks like one.
TEST_F(JobTest, AJobRemovesOnlyLeftoversNobodyHoldsLocked) {
    const std::string prefix = kTempPrefix;
    // Process ids say nothing across containers or machines: neither name protects a file.
    const std::string held = dir / (prefix + "999999-00000000000000ff");
    const std::string stale = dir / (prefix + std::to_string(::getppid()) + "-0123456789abcdef");
    std::vector<std::string> kept = {held};
    for (const char* mine : {"notes.txt", "12-0123456789ABCDEF", "12-0123456789abcdef.bak",
                             "-0123456789abcdef", "12-0123456789abcde", "x1-0123456789abcdef"})
        kept.push_back(dir / (prefix + mine)); // the user's own files with names alike
    for (const std::string& path : kept)
        WriteFile(path, "half");
    WriteFile(stale, "half");
    const int holder = ::open(held.c_str(), O_RDONLY | O_CLOEXEC); // a paused job elsewhere
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    AtomicFile live(dir / "out");
    kept.push_back(live.TempPath());
    // A job's own source is never taken for a leftover, even with a leftover's name.
    WriteFile(dir / "a.txt", "plain");
    const std::string source = dir / (prefix + "7-fedcba9876543210");
    std::filesystem::rename(Run(dir / "a.txt", dir / "a.txt"), source);
    for (const std::string& path : {held, stale, live.TempPath(), source})
        std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() -
                                                   std::chrono::hours(1));
    for (const std::string& path : kept)
        std::filesystem::last_write_time(path, std::filesystem::file_time_type{});
    EXPECT_EQ(ReadFile(Run(source, dir / "a")), Bytes({'p', 'l', 'a', 'i', 'n'}));
    ::close(holder);
    for (const std::string& path : kept)
        EXPECT_TRUE(std::filesystem::exists(path)) << path;
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(IsTempFileName(FileNameOf(live.TempPath())));
}

TEST(Paths, NamePartsLookOnlyAtTheLastPathElement) {
    const std::tuple<std::string, const char*, const char*, const char*> cases[] = {
        // path, extension, without it, folder
        {"/a/Photo.JPG", "jpg", "/a/Photo", "/a/"},
        {"/a/archive.tar.GZ", "gz", "/a/archive.tar", "/a/"},
        {"/a/file.", "", "/a/file", "/a/"},
        {"/a/b", "", "/a/b", "/a/"},
        {"/a/.profile", "", "/a/.profile", "/a/"}, // its only dot first: all stem
        {"/a/.bash.rc", "rc", "/a/.bash", "/a/"},
        {".hidden", "", ".hidden", ""},
        {"name.txt", "txt", "name", ""},
        {"/b.txt", "txt", "/b", ""}, // only a leading "/": no folder
        {"rel/b.txt", "txt", "rel/b", "rel/"},
        {"/a/", "", "/a/", "/a/"},
        {"/home/u/my.dir/file", "", "/home/u/my.dir/file", "/home/u/my.dir/"},
        {"/a/ÉTÉ.ÀÉ", "àé", "/a/ÉTÉ", "/a/"}, // letters of the code page, not only ASCII
        {"/a/x.ŠŒŽŸÞ", "šœžÿþ", "/a/x", "/a/"},
        {"/a/x.×ß@[Z€", "×ß@[z€", "/a/x", "/a/"}}; // no lower case of their own but Z
    for (const auto& [path, extension, without, folder] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ExtensionOf(path), extension);
        EXPECT_EQ(WithoutExtension(path), without);
        EXPECT_EQ(FolderOf(path), folder);
        // The folder (or the leading "/") and the name make up the whole path.
        EXPECT_EQ((folder[0] || path[0] != '/' ? folder : "/") + FileNameOf(path), path);
    }
    // A file is taken as protected when "vwx" is in its name, in any case.
    for (const auto& [path, kind] : {std::pair{"/d/Docs/report.VWX", FileKind::Protected},
                                     {"/d/Docs/myvWxnotes.txt", FileKind::Protected},
                                     {"/d/Docs/report.txt", FileKind::Plain},
                                     {"/d/vwxfiles/notes.txt", FileKind::Plain},
                                     {"", FileKind::Plain}})
        EXPECT_EQ(DetectFileKind(path), kind) << path;
}

} // namespace
} // namespace vw::test
