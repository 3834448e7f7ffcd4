#include "engine/Paths.h"

#include <gtest/gtest.h>

#include <tuple>

namespace vw {
namespace {

TEST(Paths, NamePartsLookOnlyAtTheLastPathElement) {
    const std::tuple<std::string, const char*, const char*, const char*> cases[] = {
        // path, extension, without it, folder
        {"/a/Photo.JPG", "jpg", "/a/Photo", "/a/"},
        {"/a/archive.tar.GZ", "gz", "/a/archive.tar", "/a/"},
        {"/a/file.", "", "/a/file", "/a/"},
        {"/a/b", "", "/a/b", "/a/"},
        {"/a/.profile", "profile", "/a/", "/a/"},
        {"name.txt", "txt", "name", ""},
        {"/b.txt", "txt", "/b", ""}, // only a leading "/": no folder
        {"rel/b.txt", "txt", "rel/b", "rel/"},
        {"/a/", "", "/a/", "/a/"},
        {"/home/u/my.dir/file", "", "/home/u/my.dir/file", "/home/u/my.dir/"},
        {"/a/ÉTÉ.ÀÉ", "àé", "/a/ÉTÉ", "/a/"}}; // letters of the code page, not only ASCII
    for (const auto& [path, extension, without, folder] : cases) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ExtensionOf(path), extension);
        EXPECT_EQ(WithoutExtension(path), without);
        EXPECT_EQ(FolderOf(path), folder);
        // The folder (or the leading "/") and the name make up the whole path.
        EXPECT_EQ((folder[0] || path[0] != '/' ? folder : "/") + FileNameOf(path), path);
    }
}

} // namespace
} // namespace vw
