#include "engine/Paths.h"

#include <gtest/gtest.h>

#include "TempDir.h"

namespace vw {
namespace {

TEST(Paths, ExtensionIsLowerCaseTextAfterTheLastDotOfTheName) {
    EXPECT_EQ(ExtensionOf("/a/Photo.JPG"), "jpg");
    EXPECT_EQ(ExtensionOf("/a/archive.tar.GZ"), "gz");
    EXPECT_EQ(ExtensionOf("/a/file."), "");
    EXPECT_EQ(ExtensionOf("/a/file"), "");
    EXPECT_EQ(ExtensionOf("name.txt"), "txt");
    EXPECT_EQ(ExtensionOf("/a/ÉTÉ.ÀÉ"), "àé"); // letters of the code page, not only ASCII
}

TEST(Paths, FolderDotsDoNotCountAsExtensions) {
    EXPECT_EQ(ExtensionOf("/home/u/my.dir/file"), "");
    EXPECT_EQ(WithoutExtension("/home/u/my.dir/file"), "/home/u/my.dir/file");
    EXPECT_EQ(WithoutExtension("/home/u/my.dir/file.txt"), "/home/u/my.dir/file");
}

TEST(Paths, WithoutExtensionDropsTheDotToo) {
    EXPECT_EQ(WithoutExtension("/a/b"), "/a/b");
    EXPECT_EQ(WithoutExtension("/a/b.txt"), "/a/b");
    EXPECT_EQ(WithoutExtension("/a/b."), "/a/b");
    EXPECT_EQ(WithoutExtension("/a/.profile"), "/a/");
}

TEST(Paths, FolderKeepsItsTrailingSeparator) {
    EXPECT_EQ(FolderOf("/a/b.txt"), "/a/");
    EXPECT_EQ(FolderOf("b.txt"), "");
    EXPECT_EQ(FolderOf("/b.txt"), "");
    EXPECT_EQ(FolderOf("rel/b.txt"), "rel/");
}

TEST(Paths, FileNameIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(FileNameOf("b.txt"), "b.txt");
    EXPECT_EQ(FileNameOf("/a/b.txt"), "b.txt");
    EXPECT_EQ(FileNameOf("/a/"), "");
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
