#include "engine/Paths.h"

#include <gtest/gtest.h>

#include "tests/support/TempDir.h"

namespace vw {
namespace {

TEST(Paths, NamePartsLookOnlyAtTheLastPathElement) {
    struct Case {
        const char* path;
        const char* extension;
        const char* without;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"/a/Photo.JPG", "jpg", "/a/Photo", "/a/", "Photo.JPG"},
        {"/a/archive.tar.GZ", "gz", "/a/archive.tar", "/a/", "archive.tar.GZ"},
        {"/a/file.", "", "/a/file", "/a/", "file."},
        {"/a/b", "", "/a/b", "/a/", "b"},
        {"/a/.profile", "profile", "/a/", "/a/", ".profile"},
        {"name.txt", "txt", "name", "", "name.txt"},
        {"/b.txt", "txt", "/b", "", "b.txt"},
        {"rel/b.txt", "txt", "rel/b", "rel/", "b.txt"},
        {"/a/", "", "/a/", "/a/", ""},
        // Folder dots do not count as extensions.
        {"/home/u/my.dir/file", "", "/home/u/my.dir/file", "/home/u/my.dir/", "file"},
        {"/home/u/my.dir/file.txt", "txt", "/home/u/my.dir/file", "/home/u/my.dir/", "file.txt"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ExtensionOf(c.path), c.extension);
        EXPECT_EQ(WithoutExtension(c.path), c.without);
        EXPECT_EQ(FolderOf(c.path), c.folder);
        EXPECT_EQ(FileNameOf(c.path), c.name);
    }
    EXPECT_EQ(ExtensionOf("/a/ÉTÉ.ÀÉ"), "àé"); // letters of the code page, not only ASCII
}

TEST(Paths, FileExistsOnlyForRegularFilesWhoseLengthCanBeRead) {
    test::TempDir dir;
    test::WriteFile(dir / "empty", std::string());
    test::WriteFile(dir / "some", std::string("abc"));
    EXPECT_TRUE(FileExists(dir / "empty"));
    EXPECT_EQ(FileLength(dir / "empty"), 0);
    EXPECT_EQ(FileLength(dir / "some"), 3);
    EXPECT_FALSE(FileExists(dir / "missing"));
    EXPECT_FALSE(FileExists(dir.path().string()));
    EXPECT_FALSE(FileExists(""));
}

} // namespace
} // namespace vw
