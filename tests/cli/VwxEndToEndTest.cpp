#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "VwxProcess.h"
#include "tests/support/TempDir.h"

namespace vw::test {
namespace {

const std::string kPw = "VWX_PASSWORD=Segreto1";

std::vector<std::string> Names(std::initializer_list<const char*> names) {
    std::vector<std::string> v(names.begin(), names.end());
    std::sort(v.begin(), v.end());
    return v;
}

class VwxEndToEnd : public ::testing::Test {
  protected:
    TempDir dir;
    VwxProcess vwx;
};

TEST_F(VwxEndToEnd, ProtectsBesideTheSourceAndRestoresByteForByte) {
    Bytes allValues;
    for (int i = 0; i < 3000; ++i)
        allValues.push_back(static_cast<std::uint8_t>(i * 7));
    // The extension comes back in lower case; a file without one gets none.
    struct Case {
        std::string source, result, restored;
        Bytes original;
    };
    for (const Case& c : {Case{"report.TXT", "report.vwx", "report.txt", TextData(150000, 7)},
                          Case{"data", "data.vwx", "data", allValues}}) {
        SCOPED_TRACE(c.source);
        WriteFile(dir / c.source, c.original);
        const RunResult p = vwx.Run({dir / c.source}, {kPw});
        ASSERT_EQ(p.status, 0) << p.err;
        EXPECT_EQ(p.out, dir / c.result + "\n");
        EXPECT_EQ(p.err, ""); // no terminal: no progress bar
        EXPECT_NE(ReadFile(dir / c.result), c.original);

        std::filesystem::remove(dir / c.source);
        const RunResult r = vwx.Run({dir / c.result}, {kPw});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, dir / c.restored + "\n");
        EXPECT_EQ(ReadFile(dir / c.restored), c.original);
        EXPECT_EQ(dir.Entries(), Names({c.restored.c_str(), c.result.c_str()}));
        std::filesystem::remove(dir / c.restored);
        std::filesystem::remove(dir / c.result);
    }
}

TEST_F(VwxEndToEnd, ReplaceSwapsTheSourceForTheResult) {
    const Bytes original = RandomData(20000, 3);
    WriteFile(dir / "photo.jpg", original);
    RunResult p = vwx.Run({"--replace", dir / "photo.jpg"}, {kPw});
    ASSERT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(dir.Entries(), Names({"photo.vwx"}));
    RunResult r = vwx.Run({"--replace", dir / "photo.vwx"}, {kPw});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(dir.Entries(), Names({"photo.jpg"}));
    EXPECT_EQ(ReadFile(dir / "photo.jpg"), original);
}

TEST_F(VwxEndToEnd, OutputOptionNamesTheResultWithItsOwnExtensionReplaced) {
    const Bytes original = TextData(5000, 1);
    WriteFile(dir / "a.txt", original);
    std::filesystem::create_directory(dir / "sub");
    RunResult p = vwx.Run({"-o", dir / "sub/copy.anything", dir / "a.txt"}, {kPw});
    ASSERT_EQ(p.status, 0) << p.err;
    EXPECT_EQ(p.out, dir / "sub/copy.vwx" + "\n");
    EXPECT_EQ(dir.Entries(), Names({"a.txt", "sub"}));
    RunResult r = vwx.Run({"--output=" + dir / "back", dir / "sub/copy.vwx"}, {kPw});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, dir / "back.txt" + "\n");
    EXPECT_EQ(ReadFile(dir / "back.txt"), original);
    // Control characters of a name are shown escaped.
    const RunResult e = vwx.Run({"-o", dir / "e\x1b[2J\n.x", dir / "a.txt"}, {kPw});
    EXPECT_EQ(e.out, dir / "e\\x1b[2J\\x0a.vwx\n");
    // An output path that names a folder is refused before anything happens.
    EXPECT_EQ(vwx.Run({"-o", dir / "sub", dir / "a.txt"}, {kPw}).status, 64);
}

// One run per status the driver's checks and the job give; nothing is written by any.
TEST_F(VwxEndToEnd, FailuresBecomeExitStatusesAndWriteNothing) {
    WriteFile(dir / "s.txt", TextData(30000, 2));
    ASSERT_EQ(vwx.Run({"--replace", dir / "s.txt"}, {kPw}).status, 0);
    const Bytes protectedBytes = ReadFile(dir / "s.vwx");
    WriteFile(dir / "empty.txt", std::string());
    struct Case {
        std::string file, password; // no password: no terminal to ask it on either
        int status;
        std::string message;
    };
    // The source is checked before the password is asked; the password before the job.
    for (const Case& c :
         {Case{"s.vwx", "Segreto2", 23, "Errore Generico 3"},
          Case{"empty.txt", "Segreto1", 6, "File vuoto"},
          Case{"missing.txt", "Segreto1", 4, "File non trovato"},
          Case{"missing.txt", "abcd", 4, "File non trovato"},
          Case{"missing.txt", "", 4, "File non trovato"},
          Case{"gone\x1b[2J\n.txt", "", 4, "gone\\x1b[2J\\x0a.txt\n"},
          Case{"empty.txt", "ababab", 3, "Password troppo corta"},
          // Characters the code page lacks would all become "?", so they are refused.
          Case{"s.vwx", "\u043F\u0430\u0440\u043E\u043B\u044C1", 3, "\"\u043F\", \"\u0430\""},
          Case{"s.vwx", "\u0100\u0112\u012A\u014C\u016A", 3, "\"\u0100\", \"\u0112\""},
          Case{"s.vwx",
               "\xFF\xFE"
               "abcdef",
               3, "not UTF-8"},
          Case{"s.vwx",
               "\u0080\u009b"
               "abcdef",
               3, "\"\\u0080\", \"\\u009b\""}}) {
        SCOPED_TRACE(c.file + " " + c.password);
        const RunResult r =
            vwx.Run({dir / c.file}, c.password.empty() ? std::vector<std::string>{}
                                                       : std::vector{"VWX_PASSWORD=" + c.password});
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find_first_of("\x1b\r"), std::string::npos);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(dir.Entries(), Names({"empty.txt", "s.vwx"}));
    }
    EXPECT_EQ(ReadFile(dir / "s.vwx"), protectedBytes);
}

// No file is replaced unless -f allows it, except the source that --replace names.
TEST_F(VwxEndToEnd, AnExistingResultIsReplacedOnlyWithForce) {
    for (const char* name : {"notes.txt", "notes.md", ".env", ".bashrc", "data.dat"})
        WriteFile(dir / name, std::string("contents of ") + name);
    for (const auto& args : std::vector<std::vector<std::string>>{
             {dir / "notes.txt"}, {"--replace", dir / ".env"}, {dir / "data.dat"}})
        ASSERT_EQ(vwx.Run(args, {kPw}).status, 0);
    WriteFile(dir / "data.dat", std::string("newer data"));
    const auto snapshot = [this] {
        std::vector<Bytes> contents;
        for (const auto& name : dir.Entries())
            contents.push_back(ReadFile(dir / name));
        return std::pair(dir.Entries(), contents);
    };
    for (const auto& [args, existing] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{dir / "notes.md"}, "notes.vwx"},
             {{"--replace", dir / ".bashrc"}, ".vwx"},
             {{dir / "notes.vwx"}, "notes.txt"},
             {{"--replace", dir / "notes.vwx"}, "notes.txt"},
             {{"-o", dir / "data.back", dir / "data.vwx"}, "data.dat"}}) {
        SCOPED_TRACE(args.back());
        const auto before = snapshot();
        const RunResult r = vwx.Run(args, {kPw});
        EXPECT_EQ(r.status, 73);
        EXPECT_NE(r.err.find(dir / existing + " already exists; use -f"), std::string::npos)
            << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(snapshot(), before);
    }
    // With -f the older data comes back over the newer, and the protected notes.md takes the
    // place of the protected notes.txt.
    const auto bytes = [](const std::string& text) { return Bytes(text.begin(), text.end()); };
    ASSERT_EQ(vwx.Run({"-f", "-o", dir / "data.back", dir / "data.vwx"}, {kPw}).status, 0);
    EXPECT_EQ(ReadFile(dir / "data.dat"), bytes("contents of data.dat"));
    ASSERT_EQ(vwx.Run({"--force", "--replace", dir / "notes.md"}, {kPw}).status, 0);
    ASSERT_EQ(vwx.Run({"-o", dir / "restored", dir / "notes.vwx"}, {kPw}).status, 0);
    EXPECT_EQ(ReadFile(dir / "restored.md"), bytes("contents of notes.md"));
    EXPECT_EQ(dir.Entries(), Names({".bashrc", ".vwx", "data.dat", "data.vwx", "notes.txt",
                                    "notes.vwx", "restored.md"}));
}

TEST_F(VwxEndToEnd, UsageHelpAndVersion) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"--bogus", "x"}, {"a", "b"}, {"--replace", "-o", "x", "a"}, {"-o"}}) {
        const RunResult r = vwx.Run(args, {kPw});
        EXPECT_EQ(r.status, 64);
        EXPECT_NE(r.err.find("usage: vwx"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    const RunResult help = vwx.Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: vwx", 0), 0u);
    const RunResult version = vwx.Run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("vwx ", 0), 0u);
}

TEST_F(VwxEndToEnd, WithoutTerminalOrPasswordItStopsAtOnce) {
    WriteFile(dir / "a.txt", TextData(100, 1));
    const RunResult r = vwx.Run({dir / "a.txt"});
    EXPECT_EQ(r.status, 64);
    EXPECT_NE(r.err.find("VWX_PASSWORD"), std::string::npos);
    EXPECT_EQ(dir.Entries(), Names({"a.txt"}));
}

TEST_F(VwxEndToEnd, PasswordFileFirstLineWinsOverTheEnvironment) {
    const Bytes original = TextData(4000, 4);
    WriteFile(dir / "a.txt", original);
    WriteFile(dir / "pw", std::string("Segreto1\r\nsecond line\n"));
    // The file's password is used, not the environment's.
    ASSERT_EQ(
        vwx.Run({"--password-file", dir / "pw", dir / "a.txt"}, {"VWX_PASSWORD=Altro123"}).status,
        0);
    std::filesystem::remove(dir / "a.txt");
    EXPECT_EQ(vwx.Run({dir / "a.vwx"}, {"VWX_PASSWORD=Altro123"}).status, 23);
    // The same line given on standard input.
    WriteFile(dir / "stdin", std::string("Segreto1\n"));
    const RunResult r = vwx.Run({"--password-file=-", dir / "a.vwx"}, {}, dir / "stdin");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "a.txt"), original);
    EXPECT_EQ(vwx.Run({"--password-file", dir / "nope", dir / "a.vwx"}).status, 64);
}

TEST_F(VwxEndToEnd, PasswordsAreConvertedToTheCodePage) {
    const Bytes original = TextData(4000, 5);
    WriteFile(dir / "a.txt", original);
    ASSERT_EQ(vwx.Run({dir / "a.txt"}, {"VWX_PASSWORD=\u00C0bcd\u00E9f"}).status, 0);
    EXPECT_EQ(vwx.Run({"-o", dir / "x", dir / "a.vwx"}, {"VWX_PASSWORD=?bcd\u00E9f"}).status, 23);
    // A decomposed accent is two characters, and the combining one is not in the code page.
    EXPECT_EQ(vwx.Run({"-o", dir / "x", dir / "a.vwx"}, {"VWX_PASSWORD=\u00C0bcde\u0301f"}).status,
              3);
    // A password file is held to the same rules, and its first line may not be endless.
    WriteFile(dir / "pw", std::string("\xC0"
                                      "bcd\xE9"
                                      "f\n"));
    for (const std::string& file : {dir / "pw", std::string("/dev/zero")})
        EXPECT_EQ(vwx.Run({"--password-file", file, "-o", dir / "x", dir / "a.vwx"}).status, 3);
    const RunResult r =
        vwx.Run({"-o", dir / "x", dir / "a.vwx"}, {"VWX_PASSWORD=\u00C0bcd\u00E9f"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "x.txt"), original);
}

TEST_F(VwxEndToEnd, StoredPrivateCodeIsUsedUnlessLeftOut) {
    vwx.WriteSettings("[Config]\nOFB=00112233445566778899aabbccddeeff\n");
    const Bytes original = TextData(6000, 6);
    WriteFile(dir / "a.txt", original);
    ASSERT_EQ(vwx.Run({dir / "a.txt"}, {kPw}).status, 0);
    EXPECT_EQ(vwx.Run({"--no-private-code", "-o", dir / "x", dir / "a.vwx"}, {kPw}).status, 23);
    const RunResult r = vwx.Run({"-o", dir / "x", dir / "a.vwx"}, {kPw});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ReadFile(dir / "x.txt"), original);
    // Without the stored code the file was keyed differently.
    ASSERT_EQ(vwx.Run({"--no-private-code", "-o", dir / "y", dir / "a.txt"}, {kPw}).status, 0);
    vwx.WriteSettings("[Config]\n");
    EXPECT_EQ(vwx.Run({"-o", dir / "z", dir / "y.vwx"}, {kPw}).status, 0);
}

} // namespace
} // namespace vw::test
