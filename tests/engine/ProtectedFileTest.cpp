#include "engine/ProtectedFile.h"
#include "engine/FileIO.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "engine/Cipher.h"
#include "engine/Driver.h"
#include "engine/Host.h"
#include "engine/Huffman.h"
#include "engine/JobState.h"
#include "engine/Paths.h"
#include "tests/support/ProtectedFileForge.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestHost.h"

namespace vw {
namespace {

using test::ReadFile;
using test::WriteFile;

class ProtectedFileTest : public ::testing::Test {
  protected:
    void SetUp() override { EntropyPool.clear(); }

    // Protects source into folder/name.vwx (the source stays) and returns the written path.
    std::string Protect(const std::string& source, const std::string& output,
                        const std::string& password = "correct horse",
                        const std::string& pcm = "") {
        return ProcessFile(source, output, password, pcm);
    }

    test::TempDir dir;
    test::TestHost host;
    ScopedHost scoped{host};
};

TEST_F(ProtectedFileTest, RoundTripsManySizesAndContents) {
    Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(i);
    for (const Bytes& data :
         {Bytes{0x41}, Bytes{'a', 'b'}, Bytes(7000, 0x00), test::TextData(5000, 1),
          test::RandomData(10000, 3), test::RandomData(70001, 5), all}) {
        SCOPED_TRACE(data.size());
        WriteFile(dir / "data.bin", data);
        host.busyCalls.clear();
        const std::string protectedPath = Protect(dir / "data.bin", dir / "copy.bin");
        ASSERT_EQ(JobStatus, 0) << StatusMessage;
        ASSERT_EQ(protectedPath, dir / "copy.vwx");
        EXPECT_EQ(host.busyCalls, (std::vector<bool>{true, false, true, false}));
        std::filesystem::remove(dir / "data.bin");

        const std::string restored =
            ProcessFile(protectedPath, dir / "back.x", "correct horse", "");
        ASSERT_EQ(JobStatus, 0) << StatusMessage;
        EXPECT_EQ(restored, dir / "back.bin");
        EXPECT_EQ(ReadFile(restored), data);
        std::filesystem::remove(restored);
        std::filesystem::remove(protectedPath);
    }
}

TEST_F(ProtectedFileTest, FileLengthIsHeaderPlusExtensionPlusStreamPlusThree) {
    const Bytes data = test::TextData(30000, 9);
    WriteFile(dir / "notes.text", data);
    const std::string out = Protect(dir / "notes.text", dir / "p.text");
    ASSERT_EQ(JobStatus, 0);
    Bytes stream = data;
    HuffmanEncode(stream, static_cast<std::int32_t>(stream.size()));
    const auto length = std::filesystem::file_size(out);
    const auto headerLength = length - 4 - stream.size() - 3;
    EXPECT_GE(headerLength, 32u);
    EXPECT_LE(headerLength, 255u);

    // The header's first byte decrypts to its own length.
    InitCipher("correct horse", "");
    EXPECT_EQ(DecryptByte(ReadFile(out)[0]), headerLength);
}

TEST_F(ProtectedFileTest, TwoProtectionsDifferButBothRestore) {
    WriteFile(dir / "a.txt", test::TextData(4000, 3));
    const std::string first = Protect(dir / "a.txt", dir / "one.txt");
    const std::string second = Protect(dir / "a.txt", dir / "two.txt");
    EXPECT_NE(ReadFile(first), ReadFile(second));
    ProcessFile(first, dir / "r1.x", "correct horse", "");
    ProcessFile(second, dir / "r2.x", "correct horse", "");
    EXPECT_EQ(ReadFile(dir / "r1.txt"), ReadFile(dir / "a.txt"));
    EXPECT_EQ(ReadFile(dir / "r2.txt"), ReadFile(dir / "a.txt"));
}

TEST_F(ProtectedFileTest, OutputNamesAndWhichFilesStay) {
    // The extension comes back lower case under the output name; another output path keeps
    // the protected file.
    WriteFile(dir / "Photo.JPG", test::RandomData(3000, 1));
    const std::string p = Protect(dir / "Photo.JPG", dir / "Photo.JPG");
    EXPECT_FALSE(FileExists(dir / "Photo.JPG"));
    std::filesystem::create_directory(dir / "x");
    EXPECT_EQ(ProcessFile(p, dir / "x/Copy", "correct horse", ""), dir / "x/Copy.jpg");
    EXPECT_TRUE(FileExists(p));
    std::filesystem::remove_all(dir / "x");
    std::filesystem::remove(p);

    // Sources without an extension or ending in a dot; the same path replaces the source.
    const std::string text = "read me first, please";
    const std::pair<std::string, std::string> names[] = {{"README", "README"},
                                                         {"dotted.", "dotted"}};
    for (const auto& [name, base] : names) {
        WriteFile(dir / name, text);
        const std::string q = Protect(dir / name, dir / name);
        ASSERT_EQ(q, dir / (base + ".vwx"));
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{base + ".vwx"});
        EXPECT_EQ(ProcessFile(q, q, "correct horse", ""), dir / base);
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{base});
        EXPECT_EQ(ReadFile(dir / base), Bytes(text.begin(), text.end()));
        std::filesystem::remove(dir / base);
    }

    // Another output path keeps the source; an existing output is replaced.
    WriteFile(dir / "b.txt", std::string("new content"));
    WriteFile(dir / "c.vwx", std::string("old"));
    EXPECT_EQ(Protect(dir / "b.txt", dir / "c.txt"), dir / "c.vwx");
    EXPECT_EQ(JobStatus, 0);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"b.txt", "c.vwx"}));
    WriteFile(dir / "r.txt", std::string("old restored"));
    EXPECT_EQ(ProcessFile(dir / "c.vwx", dir / "r.any", "correct horse", ""), dir / "r.txt");
    EXPECT_EQ(ReadFile(dir / "r.txt"), ReadFile(dir / "b.txt"));
}

TEST_F(ProtectedFileTest, ProtectingInsideADottedFolderStaysInThatFolder) {
    std::filesystem::create_directory(dir / "my.dir");
    WriteFile(dir / "my.dir/file", std::string("no extension here"));
    EXPECT_EQ(Protect(dir / "my.dir/file", dir / "my.dir/file"), dir / "my.dir/file.vwx");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"my.dir"});
}

TEST_F(ProtectedFileTest, PrivateCodeIsPartOfTheKey) {
    WriteFile(dir / "a.txt", test::TextData(2000, 5));
    const std::string p = Protect(dir / "a.txt", dir / "a.txt", "correct horse", "PCM-123");
    EXPECT_EQ(ProcessFile(p, dir / "r.x", "correct horse", ""), p);
    EXPECT_NE(JobStatus, 0);
    EXPECT_EQ(ProcessFile(p, dir / "r.x", "correct horse", "PCM-123"), dir / "r.txt");
    EXPECT_EQ(JobStatus, 0);
}

Bytes ForgeProtectedFile(const std::string& extension, const Bytes& plain, const std::string& pw,
                         bool terminated = true) {
    test::VwxParts parts = test::PartsAround(test::Encoded(plain), extension);
    parts.terminated = terminated;
    return test::ForgeVwx(parts, pw);
}

TEST_F(ProtectedFileTest, StoredExtensionsThatLeaveTheFolderOrHoldControlsAreRefused) {
    std::filesystem::create_directory(dir / "in");
    // The description shows control characters escaped.
    const std::pair<std::string, std::string> refused[] = {{"/../../evil", "/../../evil"},
                                                           {"..", ".."},
                                                           {".", "."},
                                                           {"a/b", "a/b"},
                                                           {"\x1b[31m", "\\x1b[31m"},
                                                           {"a\x07", "a\\x07"},
                                                           {"txt\n", "txt\\x0a"},
                                                           {"\x7f", "\\x7f"},
                                                           {"\x9d", "\\x9d"}};
    for (const auto& [ext, shown] : refused) {
        SCOPED_TRACE(shown);
        WriteFile(dir / "in/f.vwx", ForgeProtectedFile(ext, test::TextData(500, 1), "password1"));
        EXPECT_EQ(ProcessFile(dir / "in/f.vwx", dir / "in/out", "password1", ""), dir / "in/f.vwx");
        EXPECT_EQ(JobStatus, 22);
        EXPECT_EQ(ErrorDescription,
                  "the stored extension \"" + shown + "\" is not a valid file name extension");
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"in"});
    }
    // The forging itself is sound: a plain extension restores.
    WriteFile(dir / "in/f.vwx", ForgeProtectedFile("md", test::TextData(500, 1), "password1"));
    EXPECT_EQ(ProcessFile(dir / "in/f.vwx", dir / "in/out", "password1", ""), dir / "in/out.md");
}

TEST_F(ProtectedFileTest, MalformedHeadsWithAgreeingCheckValuesAre22) {
    const std::pair<Bytes, const char*> cases[] = {
        // Header and extension may take up to 32766 bytes (no file system takes such a name).
        {ForgeProtectedFile(std::string(32766 - 41, 'x'), Bytes{'a'}, "password1"),
         "File name too long"},
        {ForgeProtectedFile(std::string(32767 - 41, 'x'), Bytes{'a'}, "password1"),
         "longer than the format allows"},
        {ForgeProtectedFile("txt", {}, "password1", false), "has no end"}};
    for (const auto& [file, description] : cases) {
        SCOPED_TRACE(description);
        WriteFile(dir / "f.vwx", file);
        EXPECT_EQ(ProcessFile(dir / "f.vwx", dir / "out", "password1", ""), dir / "f.vwx");
        EXPECT_EQ(JobStatus, 22);
        EXPECT_NE(ErrorDescription.find(description), std::string::npos) << ErrorDescription;
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"f.vwx"});
    }
}

TEST_F(ProtectedFileTest, WrongPasswordsAreAlways23AndWriteNothing) {
    for (const std::size_t size : {1u, 20u, 90u, 400u, 3000u}) {
        WriteFile(dir / "a.vwx", ForgeProtectedFile("txt", test::TextData(size, 6), "password1"));
        for (int i = 0; i < 100; ++i) {
            const std::string password = "wrong password " + std::to_string(i);
            EXPECT_EQ(ProcessFile(dir / "a.vwx", dir / "a.vwx", password, ""), dir / "a.vwx");
            ASSERT_EQ(JobStatus, 23)
                << "size " << size << ", " << password << ": " << StatusMessage;
        }
        EXPECT_EQ(dir.Entries(), std::vector<std::string>{"a.vwx"});
    }
}

TEST_F(ProtectedFileTest, RefusedOverwriteKeepsEveryExistingFile) {
    const std::string pw = "correct horse";
    WriteFile(dir / "a.txt", std::string("plain"));
    const std::string p = Protect(dir / "a.txt", dir / "p.txt");
    WriteFile(dir / "x.vwx", ForgeProtectedFile("vwx", Bytes{'x'}, pw)); // restores onto itself
    WriteFile(dir / "a.vwx", std::string("old"));
    WriteFile(dir / "r.txt", std::string("old"));
    struct Case {
        const char* label;
        std::string source, output, password, existing;
        int status;
        bool appears; // the existing file appears while the job runs
    };
    const Case cases[] = {
        {"protect, replacing the source", dir / "a.txt", dir / "a.txt", pw, dir / "a.vwx", 12,
         false},
        {"restore", p, dir / "r.any", pw, dir / "r.txt", 22, false},
        {"restore, wrong password", p, dir / "r.any", "wrong horse", "", 23, false},
        {"restore onto the source, not asked", dir / "x.vwx", dir / "x.any", pw, dir / "x.vwx", 22,
         false},
        {"protect, appears", dir / "a.txt", dir / "n.txt", pw, dir / "n.vwx", 12, true},
        {"restore, appears", p, dir / "m.any", pw, dir / "m.txt", 22, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<std::pair<std::string, Bytes>> files;
        for (const std::string& name : dir.Entries())
            files.emplace_back(name, ReadFile(dir / name));
        if (c.appears) files.emplace_back(FileNameOf(c.existing), Bytes{'n', 'e', 'w'});
        std::sort(files.begin(), files.end());
        host.eventCalls = 0;
        host.act = [&] {
            if (c.appears && host.eventCalls == 1) WriteFile(c.existing, std::string("new"));
        };
        EXPECT_EQ(ProcessFile(c.source, c.output, c.password, "", Overwrite::Refused), c.source);
        EXPECT_EQ(JobStatus, c.status);
        EXPECT_EQ(ExistingOutputPath, c.existing);
        if (c.status != 23) {
            EXPECT_EQ(ErrorDescription, "the file \"" + c.existing + "\" already exists");
        }
        for (const auto& [name, content] : files)
            EXPECT_EQ(ReadFile(dir / name), content) << name;
        EXPECT_EQ(dir.Entries().size(), files.size());
    }
    // Checked before the source is read.
    host.act = nullptr;
    host.eventCalls = 0;
    ProcessFile(dir / "a.txt", dir / "a.txt", pw, "", Overwrite::Refused);
    EXPECT_EQ(host.eventCalls, 0);
    // The source itself is replaced when the caller asks for that.
    EXPECT_EQ(ProcessFile(dir / "x.vwx", dir / "x.vwx", pw, "", Overwrite::Refused), dir / "x.vwx");
    EXPECT_EQ(JobStatus, 0);
    EXPECT_EQ(ReadFile(dir / "x.vwx"), Bytes{'x'});
}

TEST_F(ProtectedFileTest, OutputsNeverGetMorePermissionsThanTheSource) {
    WriteFile(dir / "private.txt", std::string("only for me"));
    ::chmod((dir / "private.txt").c_str(), 0600);
    const std::string p = Protect(dir / "private.txt", dir / "private.txt");
    struct stat st {};
    ASSERT_EQ(::stat(p.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ::chmod(p.c_str(), 0640);
    const std::string r = ProcessFile(p, dir / "r.x", "correct horse", "");
    ASSERT_EQ(::stat(r.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(ProtectedFileTest, FailuresKeepExistingFilesAndLeaveNoTemporaryFile) {
    WriteFile(dir / "a.txt", test::TextData(3000, 4));
    // The output path is taken by a folder: the rename fails, the source survives.
    std::filesystem::create_directory(dir / "a.vwx");
    EXPECT_EQ(Protect(dir / "a.txt", dir / "a.txt"), dir / "a.txt");
    EXPECT_EQ(JobStatus, 12);
    EXPECT_EQ(StatusMessage.rfind("Errore: ", 0), 0u);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.txt", "a.vwx"}));

    // An output folder that is gone.
    EXPECT_EQ(Protect(dir / "a.txt", dir / "gone/a.txt"), dir / "a.txt");
    EXPECT_EQ(JobStatus, 12);
    EXPECT_EQ(ReadFile(dir / "a.txt"), test::TextData(3000, 4));
}

TEST_F(ProtectedFileTest, FilesOf2GiBAreRefusedBeforeReading) {
    const std::string big = dir / "big.bin";
    { std::ofstream(big).close(); }
    ASSERT_EQ(::truncate(big.c_str(), 0x80000000LL), 0);
    EXPECT_EQ(Protect(big, big), big);
    EXPECT_EQ(JobStatus, 12);
    EXPECT_NE(ErrorDescription.find("too large"), std::string::npos);
    EXPECT_TRUE(host.busyCalls.empty());
}

TEST_F(ProtectedFileTest, LeftoverTemporaryFilesOfKilledJobsAreRemoved) {
    WriteFile(dir / "a.txt", std::string("plain text to protect"));
    const std::string stale = dir / (std::string(kTempPrefix) + "999999-dead");
    WriteFile(stale, std::string("half"));
    std::filesystem::last_write_time(stale, std::filesystem::file_time_type::clock::now() -
                                                std::chrono::hours(1));
    Protect(dir / "a.txt", dir / "a.txt");
    ASSERT_EQ(JobStatus, 0);
    EXPECT_FALSE(std::filesystem::exists(stale));
}

TEST(RandomHeader, LengthAndFirstByteAgreeWithOrWithoutEntropy) {
    EntropyPool.clear();
    for (int i = 0; i < 200; ++i) {
        if (i == 100) EntropyPool = std::string("\x01\x7f\xff\x20 mouse", 10);
        const std::string h = MakeRandomHeader();
        ASSERT_GE(h.size(), 32u);
        ASSERT_LE(h.size(), 255u);
        EXPECT_EQ(static_cast<unsigned char>(h[0]), h.size());
    }
    EntropyPool.clear();
}

TEST(MouseEntropy, OneValuePerNewPositionAndAtMost251) {
    EntropyPool.clear();
    LastMousePosition = {};
    AddMouseEntropy(0, 0); // the start position: nothing new
    EXPECT_TRUE(EntropyPool.empty());
    AddMouseEntropy(300.5f, 45);
    AddMouseEntropy(300.5f, 45);
    ASSERT_EQ(EntropyPool.size(), 1u);
    EXPECT_EQ(static_cast<unsigned char>(EntropyPool[0]), (300 ^ 45) & 255); // 300.5 rounds to even
    for (int i = 1; i <= 300; ++i)
        AddMouseEntropy(static_cast<float>(i), 1000);
    ASSERT_EQ(EntropyPool.size(), 251u);
    EXPECT_EQ(static_cast<unsigned char>(EntropyPool.back()), (300 ^ 1000) & 255);
    EXPECT_EQ(static_cast<unsigned char>(EntropyPool.front()), (50 ^ 1000) & 255);
    EntropyPool.clear();
}

} // namespace
} // namespace vw
