// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The protected file's head: every extension, headers of every length, the random header and
// the pool that feeds it.
#include <algorithm>

#include "engine/cipher/Cipher.h"
#include "engine/format/RandomHeader.h"
#include "engine/io/Paths.h"
#include "engine/job/MemoryJobs.h"
#include "engine/job/RestoreSink.h"
#include "tests/support/JobFixture.h"

namespace vw::test {
namespace {

using Names = std::vector<std::string>;

// Whatever a source's extension holds, what protect writes restore reads back; an extension no
// restore could put back in a file name as it is (a control character, a character the code
// page lacks, bytes that are no UTF-8) is refused before anything is written, and the only copy
// stays.
TEST_F(JobTest, EveryExtensionRestoresOrIsRefusedBeforeWriting) {
    std::vector<std::string> extensions = {"отчёт", "文本", "ǅž", "€‰", "t\u202Et", "t\u0081t"};
    for (int byte = 1; byte < 256; ++byte) {
        std::string extension = "t?t";
        extension[1] = static_cast<char>(byte);
        if (byte != '/') extensions.push_back(extension);
    }
    int controls = 0, outside = 0;
    for (const std::string& extension : extensions) {
        dir.Clear();
        const std::string source = dir / ("a." + extension);
        WriteFile(source, "only copy of " + extension);
        const std::string vwx = Run(source, source);
        if (result.status != 0) {
            controls += result.failure.fault == Fault::ExtensionHasControl;
            outside += result.failure.fault == Fault::ExtensionOutsideCodePage;
            EXPECT_EQ(result.status, 12) << extension;
            EXPECT_EQ(dir.Entries(), Names{FileNameOf(source)});
            continue;
        }
        const std::string back = Run(vwx, vwx);
        ASSERT_EQ(result.status, 0) << extension << ": " << static_cast<int>(result.failure.fault);
        const std::string text = "only copy of " + extension;
        EXPECT_EQ(ReadFile(back), Bytes(text.begin(), text.end()));
        EXPECT_EQ(dir.Entries(), Names{FileNameOf(back)});
    }
    // C0 and DEL, and U+0081; the Cyrillic, Chinese, U+01C5 and U+202E ones and the 128 bytes
    // above 127 alone, which are no UTF-8.
    EXPECT_EQ(std::pair(controls, outside), std::pair(31 + 1 + 1, 4 + 128));
    EXPECT_EQ(result.failure.shown, "U+FFFD"); // the last: byte 255 alone
}

// Header lengths below 3, which no writer makes, read as the format page says: the bytes 1 to
// n - 1 are the header; a check value whose place would be byte 0 or before is 0; for n = 0 the
// extension starts with byte 0, decrypted a second time as the next byte of the stream.
TEST_F(JobTest, HeaderLengthsBelowThreeReadAsTheFormatPageSays) {
    const Bytes data = {'s', 'h', 'o', 'r', 't'};
    for (const int n : {0, 1, 2, 3}) {
        for (int attempt = 0;; ++attempt) { // a password whose second reading of byte 0 is usable
            const std::string password = "password" + std::to_string(attempt);
            Cipher cipher;
            cipher.Init(password, "");
            const Bytes plainHeader = {static_cast<std::uint8_t>(n), 7, 9};
            Bytes file;
            for (int i = 0; i < std::max(n, 1); ++i)
                file.push_back(cipher.EncryptByte(plainHeader[static_cast<std::size_t>(i)]));
            std::string extension;
            if (n == 0) {
                const std::uint8_t again = cipher.DecryptByte(file[0]);
                if (again != 0 && (again < 'a' || again > 'z')) continue;
                if (again != 0) extension += static_cast<char>(again);
            }
            Bytes rest = {'x', 0};
            const Bytes stream = Encoded(data);
            rest.insert(rest.end(), stream.begin(), stream.end());
            const std::uint8_t check1 = n >= 3 ? plainHeader[1] : 0;
            const std::uint8_t check2 = n >= 2 ? plainHeader[static_cast<std::size_t>(n - 1)] : 0;
            for (const std::uint8_t b : rest)
                file.push_back(cipher.EncryptByte(b));
            for (const auto& [first, status] : {std::pair{check1, 0}, {n, 23}}) {
                // Byte 0 read as check value 1, as a table without the rule would have it.
                if (status == 23 && (n >= 3 || n == check1)) continue;
                Cipher tail = cipher;
                Bytes forged = file;
                forged.push_back(tail.EncryptByte(first));
                forged.push_back(tail.EncryptByte(check2));
                dir.Clear();
                WriteFile(dir / "f.vwx", forged);
                SCOPED_TRACE(std::to_string(n) + " " + password);
                const std::string written = Run(dir / "f.vwx", dir / "back", password);
                EXPECT_EQ(result.status, status);
                if (status == 0) {
                    EXPECT_EQ(written, dir / ("back." + extension + "x"));
                    EXPECT_EQ(ReadFile(written), data);
                }
            }
            break;
        }
    }
}

// A stored extension is read byte by byte while it is short, then a run of bytes at a time:
// extensions whose terminator falls on either side of each of those boundaries come back whole
// and the data after them too, and one without a terminator is refused as such (none at all
// leaves no room for one: 23).
TEST_F(JobTest, StoredExtensionsOfAnyLengthAreReadWhole) {
    const Bytes data = {'d', 'a', 't', 'a'};
    for (const std::size_t length : {0, 1, 31, 32, 33, 287, 288, 289, 700}) {
        SCOPED_TRACE(length);
        std::string extension;
        for (std::size_t i = 0; i < length; ++i)
            extension += static_cast<char>('a' + i % 26);
        for (const bool terminated : {true, false}) {
            const Bytes file = ForgeVwx(
                {.extension = extension, .terminated = terminated, .stream = Encoded(data)},
                kPassword);
            struct : RestoreSink {
                void Write(const std::uint8_t* at, std::size_t count) override {
                    bytes.insert(bytes.end(), at, at + count);
                }
                Bytes bytes;
            } sink;
            const JobResult restored = RestoreBytes(file, RequestFor("", ""), &sink, control);
            EXPECT_EQ(restored.status, terminated ? 0 : length > 0 ? 22 : 23);
            EXPECT_EQ(restored.extension, extension);
            EXPECT_EQ(restored.failure.fault,
                      terminated || length == 0 ? Fault::None : Fault::StoredExtensionUnended);
            EXPECT_EQ(sink.bytes, terminated ? data : Bytes{});
        }
    }
}

// A pool holding the bytes given, fed as mouse positions (x the byte, y 0).
EntropyPool PoolOf(const std::string& bytes) {
    EntropyPool pool;
    for (const char c : bytes)
        pool.AddMousePosition(static_cast<unsigned char>(c), 0);
    return pool;
}

TEST(MouseEntropy, OneValuePerNewPositionAndAtMost251) {
    EntropyPool pool;
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(pool.Bytes().at(k)); };
    pool.AddMousePosition(0, 0); // the start position: nothing new
    pool.AddMousePosition(300.5f, 45);
    pool.AddMousePosition(300.5f, 45);
    ASSERT_EQ(pool.Bytes().size(), 1u);
    EXPECT_EQ(at(0), (300 ^ 45) & 255); // 300.5 rounds to even
    for (int i = 1; i <= 300; ++i)
        pool.AddMousePosition(static_cast<float>(i), 1000);
    ASSERT_EQ(pool.Bytes().size(), 251u);
    EXPECT_EQ(at(250), (300 ^ 1000) & 255);
    EXPECT_EQ(at(0), (50 ^ 1000) & 255);
}

// The pool runs on across the mixing keys and starts again from its first byte when it ends.
TEST(MouseEntropy, ThePoolRunsRoundAcrossTheHeadersMixingKeys) {
    const RandomSource zeros = [](std::uint8_t* out, std::size_t size) {
        std::fill_n(out, size, 0);
    };
    const auto header = [&](const char* bytes, const RandomSource& random) {
        const EntropyPool pool = PoolOf(bytes);
        return MakeRandomHeader(&pool, random);
    };
    const std::string once = header("\x05\x09\x0c", zeros),
                      thrice = header("\x05\x09\x0c\x05\x09\x0c\x05\x09\x0c", zeros);
    const std::string other = header("\x05\x0c\x09", zeros);
    EXPECT_EQ(header(" ", zeros)[0], '\xe0'); // 32 ^ 32 is below the shortest header: 224 on
    EXPECT_EQ(once, thrice);
    EXPECT_NE(once, other);
    EXPECT_EQ(once.size(), 32u ^ 5 ^ 9 ^ 12);
    // Every length is as likely: the random byte 223 of the 224 lengths is taken, not redrawn.
    int draws = 0;
    EXPECT_EQ(
        header("", [&](std::uint8_t* out,
                       std::size_t size) { std::fill_n(out, size, draws++ == 0 ? 223 : 0); })[0],
        '\xff');
    // The system's source: every length from 32 to 255, and headers that differ.
    EXPECT_NE(MakeRandomHeader(), MakeRandomHeader());
    for (int k = 0; k < 50; ++k) {
        const std::string h = MakeRandomHeader();
        EXPECT_EQ(static_cast<unsigned char>(h[0]), h.size());
        EXPECT_TRUE(h.size() >= 32 && h.size() <= 255);
    }
}

// Files an earlier build wrote (text, binary, stored, with a private code, without an extension,
// of one byte): every build restores them byte for byte, and its writer makes them again, byte
// for byte, given the header they hold.
TEST(Compatibility, EarlierFilesRestoreAndTheWriterMakesThemAgain) {
    const std::string folder = std::string(VW_TEST_DATA) + "/compat/";
    const std::tuple<const char*, const char*, const char*> files[] = {
        {"text.vwx", "text.txt", ""},
        {"binary.vwx", "binary.bin", ""},
        {"private.vwx", "private.txt", "Codice7"},
        {"noext.vwx", "noext", ""},
        {"one.vwx", "one.dat", ""},
        {"ab.vwx", "ab.txt", ""},
        {"zeros.vwx", "zeros.bin", ""}};
    for (const auto& [protectedName, plainName, privateCode] : files) {
        SCOPED_TRACE(protectedName);
        const Bytes file = ReadFile(folder + protectedName), data = ReadFile(folder + plainName);
        ASSERT_FALSE(file.empty() || data.empty());
        JobRequest keys;
        keys.password = KeyText("Segreto1");
        keys.privateCode = KeyText(privateCode);
        TestControl control;
        SecureBytes restored;
        MemorySink sink(restored, 1 << 20);
        const JobResult result = RestoreBytes(file, keys, &sink, control);
        EXPECT_EQ(result.status, 0);
        EXPECT_TRUE(Bytes(restored.begin(), restored.end()) == data);
        EXPECT_EQ(result.extension, ExtensionOf(plainName));
        // The header is the file's first n bytes, decrypted.
        Cipher cipher;
        cipher.Init(keys.password.View(), keys.privateCode.View());
        Bytes head(file.begin(), file.begin() + std::min<std::ptrdiff_t>(file.size(), 255));
        cipher.DecryptBlock(head.data(), head.size());
        ASSERT_LE(head[0], head.size());
        const std::string header(head.begin(), head.begin() + head[0]);
        keys.header = [&] { return header; };
        Bytes again;
        EXPECT_EQ(ProtectBytes(data, ExtensionOf(plainName), keys, again, control).status, 0);
        EXPECT_TRUE(again == file);
    }
}

} // namespace
} // namespace vw::test
