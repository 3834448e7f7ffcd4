// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "VwxProcess.h"
#include "cli/Arguments.h"
#include "tests/support/ProtectedFileForge.h"
#include "vw/Version.h"

namespace vw::test {

// Each run ends with its exit status, result path and messages; a run that fails writes nothing.
TEST(VwxEndToEnd, ExitStatusesMessagesAndResults) {
    VwxProcess vwx;
    vwx.language = "en_US.UTF-8"; // vwx's own words as written; the Italian ones elsewhere
    WriteFile(vwx.dir / "s.txt", TextData(30000, 2));
    ASSERT_EQ(vwx.Run({"s.txt"}).status, 0); // before there is a stored private code
    std::filesystem::copy_file(vwx.dir / "s.vwx", vwx.dir / "s.dat"); // protected, not so named
    Bytes damaged = Encoded(TextData(3000, 4));
    damaged[4] ^= 0x40; // the data's checksum
    WriteFile(vwx.dir / "sum.vwx", ForgeVwx({.stream = damaged}, "Segreto1"));
    WriteFile(vwx.dir / "my-vwx.txt", TextData(3000, 3));
    WriteFile(vwx.dir / "d.txt", TextData(300, 5)), WriteFile(vwx.dir / "d.md", TextData(90, 6));
    std::filesystem::create_directories(vwx.home / ".config/vaultwise");
    WriteFile(vwx.home / ".config/vaultwise/vaultwise.conf", std::string("[Config]\nOFB=0011\n"));
    WriteFile(vwx.home / "long", std::string(65535, 'k') + "x"); // the longest password line
    WriteFile(vwx.dir / "a.txt", TextData(150000, 7));
    WriteFile(vwx.dir / "x.out", std::string("x")); // beside it: x.output, not x.out
    std::filesystem::create_directory(vwx.dir / "sub");
    ASSERT_EQ(::mkfifo((vwx.dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_directory(vwx.dir / "n");
    std::filesystem::create_directory_symlink("n", vwx.dir / "L");
    for (const char* name : {"n/a.txt", "n/a.md", "n/b.txt", "n/b.md", "o.txt"})
        WriteFile(vwx.dir / name, std::string(name));
    for (const char* name : {"u.vwx", "u.VWX", "o.vwx", "p.txt"}) // protected, storing "txt"
        std::filesystem::copy_file(vwx.dir / "s.vwx", vwx.dir / name);
    WriteFile(vwx.dir / "k.txt", std::string("k")), WriteFile(vwx.dir / "w.txt", "w");
    std::filesystem::copy_file(vwx.dir / "s.vwx", vwx.dir / "q.vwx");
    WriteFile(vwx.dir / "w.VWX", ForgeVwx({.extension = "vwx", .stream = Encoded(TextData(90, 8))},
                                          "Segreto1")); // restores to w.vwx
    Bytes garbled = ForgeVwx({.stream = Encoded(TextData(90, 9))}, "Altro123");
    garbled.back() ^= 1; // its check values disagree: to the job, a wrong password
    WriteFile(vwx.dir / "g.vwx", garbled), WriteFile(vwx.dir / "g.txt", "g");
    WriteFile(vwx.dir / "pw.txt", std::string("Segreto1\n"));
    std::filesystem::copy_file(vwx.dir / "s.vwx", vwx.dir / "pw.vwx"); // would restore to pw.txt
    WriteFile(vwx.dir / "h.txt", std::string("hard"));
    std::filesystem::create_hard_link(vwx.dir / "h.txt", vwx.dir / "h.vwx");
    WriteFile(vwx.dir / "fo.txt", "fo"), std::filesystem::create_directory(vwx.dir / "fo.vwx");
    vwx.input = "Segreto1\r\nAltro123\n";
    const std::string pw = "Segreto1", esc = "e\x1b[2J\n.x", escShown = "e\\x1b[2J\\x0a.vwx\n";
    // Arguments, VWX_PASSWORD ("": unset), exit status, standard output, part of standard error.
    using Run = std::tuple<std::vector<std::string>, std::string, int, std::string, std::string>;
    for (const auto& [args, password, status, out, err] :
         {Run{{}, "", 64, "", "vwx: no file given\n" + cli::UsageLine()},
          Run{{"-o", "sub", "s.txt"}, pw, 64, "", "the output path sub is a folder"},
          Run{{"-o", "t", "s.txt"}, "", 64, "", "no terminal to ask the password on"},
          Run{{"--password-file", "nope", "s.vwx"}, "", 64, "", "password file nope\n"},
          Run{{"--password-file", "/dev/zero", "s.vwx"}, "", 3, "", "longer than 65536"},
          // Only its first 463 bytes key the file, which a warning says; it is not refused.
          Run{{"--password-file", vwx.home / "long", "-o", "t", "s.vwx"},
              "",
              23,
              "",
              "vwx: warning: only the first 463 characters of the password are used"},
          Run{{"s.vwx"}, "\u043F\u0430\u0440\u043E\u043B\u044C1", 3, "", "U+043F, U+0430, U+0440"},
          Run{{"s.vwx"}, "abcdef\xFF\u200B", 3, "", "U+FFFD, U+200B (U+FFFD stands for bytes"},
          Run{{"gone\x1b[2J\n.txt"}, "", 4, "", "File not found: gone\\x1b[2J\\x0a.txt\n"},
          Run{{"sub"}, "", 4, "", "vwx: sub is a folder, not a file\n"},
          Run{{"fifo"}, "", 4, "", "vwx: fifo is a FIFO, not a file\n"},
          Run{{"-o", "t", "s.vwx"},
              pw,
              23,
              "",
              "decrypted (wrong password or damaged file)"}, // code
          // A wrong password is told as such, whatever its garbage would have been named.
          Run{{"--no-private-code", "g.vwx"}, "Altro123", 23, "", "(wrong password or damaged"},
          // Protecting is refused before the password is asked, restoring before writing.
          Run{{"s.txt"}, "", 73, "", "vwx: s.vwx already exists; use -f to replace it\n"},
          Run{{"--replace", "s.txt"}, "", 73, "", "vwx: s.vwx already exists"},
          Run{{"--no-private-code", "s.vwx"}, pw, 73, "", "vwx: s.txt already exists"},
          Run{{"--no-private-code", "--replace", "s.vwx"}, pw, 73, "", "vwx: s.txt already"},
          Run{{"a.txt"}, pw, 0, "a.vwx\n", ""}, Run{{"x.out"}, pw, 0, "x.vwx\n", ""},
          // The password file before the environment; -f replaces a.txt, --replace a.vwx.
          Run{{"--password-file=-", "-f", "--replace", "a.vwx"}, "Altro123", 0, "a.txt\n", ""},
          Run{{"-o", esc, "a.txt"}, pw, 0, escShown, ""},
          Run{{"-f", "-o", esc, "a.txt"}, pw, 0, escShown, ""},
          Run{{"--no-private-code", "-o", esc, "s.vwx"}, pw, 0, "e\\x1b[2J\\x0a.txt\n", ""},
          // Tests write nothing, one line each, in order; the first file that fails (in the
          // order given) decides the status.
          Run{{"-t", "--no-private-code", "s.vwx", "sum.vwx", "gone", "s.dat", "s.txt"},
              pw,
              5,
              "s.vwx: ok\nsum.vwx: The file is damaged: the restored data does not match its "
              "checksum\ngone: File not found: gone\ns.dat: ok\ns.txt: The file could not be "
              "decrypted (wrong password or damaged file)\n",
              ""},
          Run{{"-q", "-t", "--no-private-code", "s.dat"}, pw, 0, "", ""},
          Run{{"-d", "--no-private-code", "-o", "r", "s.dat"}, pw, 0, "r.txt\n", ""},
          Run{{"-e", "-f", "s.vwx"}, "", 73, "", "s.vwx would be replaced by its own protected"},
          // A file named twice is not protected twice over; a failure does not stop the rest.
          Run{{"-e", "my-vwx.txt", "my-vwx.txt"},
              pw,
              73,
              "my-vwx.vwx\n",
              "vwx: my-vwx.txt: my-vwx.vwx is the result of an earlier file of this run"},
          // -f never replaces what an earlier file of the same call writes, nor a file the call
          // names, whatever the names they are given (a link to a folder, /proc/self/cwd, an
          // extension in capitals); only --replace replaces the file itself.
          Run{{"--replace", "-f", "d.txt", "d.md"}, pw, 73, "d.vwx\n", "d.vwx is the result of"},
          Run{{"--replace", "-f", "n/a.txt", "L/a.md"}, pw, 73, "n/a.vwx\n", "L/a.vwx is the"},
          Run{{"--replace", "-f", "n/b.txt", "/proc/self/cwd/n/b.md"}, pw, 73, "n/b.vwx\n", ""},
          Run{{"--no-private-code", "u.vwx", "u.VWX"}, pw, 73, "u.txt\n", "u.txt is the result"},
          Run{{"--replace", "-f", "o.txt", "o.vwx"}, pw, 73, "", "o.vwx is one of the files"},
          Run{{"--no-private-code", "o.txt", "o.vwx"}, pw, 73, "", "o.txt is one of the files"},
          Run{{"-d", "-f", "--no-private-code", "p.txt"}, pw, 73, "", "p.txt would be replaced"},
          Run{{"-d", "--replace", "--no-private-code", "p.txt"}, pw, 0, "p.txt\n", ""},
          Run{{"-o", "sub/.hidden", "x.out"}, pw, 0, "sub/.hidden.vwx\n", ""},
          // -o naming the source writes beside it and keeps it; only --replace deletes it.
          Run{{"-o", "k.txt", "k.txt"}, pw, 0, "k.vwx\n", ""},
          Run{{"-e", "--replace", "q.vwx", "q.vwx"},
              pw,
              73,
              "q.vwx\n",
              "q.vwx: q.vwx is the result"},
          Run{{"--password-file", "pw.txt", "-f", "--no-private-code", "pw.vwx"},
              "",
              73,
              "",
              "pw.txt is one of the files of this run"},
          // Results are decided in the files' order: the restore first, then the protect.
          Run{{"--no-private-code", "w.VWX", "w.txt"}, pw, 73, "w.vwx\n", "w.txt: w.vwx is the"},
          Run{{"--replace", "h.txt"}, pw, 0, "h.vwx\n", ""}, // h.vwx: the same file, linked
          Run{{"-f", "fo.txt"}, pw, 73, "", "fo.vwx is a folder; no file takes its place"},
          Run{{"-f", "my-vwx.vwx", "gone", "x.out"},
              pw,
              4,
              "my-vwx.txt\nx.vwx\n",
              "vwx: gone: File not found: gone\n"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const auto files = vwx.dir.Snapshot();
        const RunResult r = vwx.Run(args, password);
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.out, out);
        EXPECT_NE(r.err.find(err), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
        // No message suggests an option that was given.
        for (const std::string option : {"-f", "--replace"}) {
            const bool given = std::find(args.begin(), args.end(), option) != args.end();
            EXPECT_FALSE(given && r.err.find("use " + option) != std::string::npos) << r.err;
        }
        EXPECT_EQ(status == 0 ? r.err : "", ""); // no terminal: no progress bar
        const bool writesNothing = (status != 0 && out.empty()) || args[0] == "-t";
        EXPECT_EQ(writesNothing ? vwx.dir.Snapshot() : files, files); // nor does a failure
    }
    const RunResult version = vwx.Run({"--version"});
    EXPECT_EQ(std::tuple(version.status, version.out),
              std::tuple(0, "vwx " + std::string(kVersion) + "\nLicence " + kLicence +
                                ": GNU GPL version 3 or later, with no warranty.\n"));
    vwx.closedOutput = true; // reported after the job, and the status stays
    const RunResult closed = vwx.Run({"--replace", "a.txt", "r.txt"}); // reported once
    EXPECT_EQ(closed.status, 0);
    EXPECT_EQ(closed.err, "vwx: cannot write to standard output: the reader closed the pipe\n");
    EXPECT_EQ(vwx.dir.Entries(), (std::vector<std::string>{"L",
                                                           "a.vwx",
                                                           "d.md",
                                                           "d.vwx",
                                                           "e\x1b[2J\n.txt",
                                                           "e\x1b[2J\n.vwx",
                                                           "fifo",
                                                           "fo.txt",
                                                           "fo.vwx",
                                                           "g.txt",
                                                           "g.vwx",
                                                           "h.vwx",
                                                           "k.txt",
                                                           "k.vwx",
                                                           "my-vwx.txt",
                                                           "my-vwx.vwx",
                                                           "n",
                                                           "o.txt",
                                                           "o.vwx",
                                                           "p.txt",
                                                           "pw.txt",
                                                           "pw.vwx",
                                                           "q.vwx",
                                                           "r.vwx",
                                                           "s.dat",
                                                           "s.txt",
                                                           "s.vwx",
                                                           "sub",
                                                           "sum.vwx",
                                                           "u.VWX",
                                                           "u.txt",
                                                           "u.vwx",
                                                           "w.VWX",
                                                           "w.txt",
                                                           "w.vwx",
                                                           "x.out",
                                                           "x.vwx"}));
    EXPECT_EQ(ReadFile(vwx.dir / "k.txt"), Bytes{'k'});
    EXPECT_EQ(vwx.Run({"-o", "hb", "h.vwx"}, "Segreto1").status, 0); // the link's file, protected
    EXPECT_EQ(ReadFile(vwx.dir / "hb.txt"), Bytes({'h', 'a', 'r', 'd'}));
    // The first of two names for one file was protected; the second file is still there.
    EXPECT_EQ(vwx.dir.Entries("n"), (std::vector<std::string>{"a.md", "a.vwx", "b.md", "b.vwx"}));
    EXPECT_EQ(vwx.Run({"-o", "back", "n/a.vwx"}).status, 0);
    EXPECT_EQ(ReadFile(vwx.dir / "back.txt"), Bytes({'n', '/', 'a', '.', 't', 'x', 't'}));
    // Standard streams closed at the start: no file the run opens takes their place.
    for (const std::vector<int>& streams : {std::vector<int>{1}, {0, 1, 2}}) {
        vwx.closedFds = streams;
        const RunResult run = vwx.Run({"-f", "--replace", "back.txt", "gone"});
        EXPECT_EQ(run.status, 4);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(vwx.Run({"-f", "--replace", "back.vwx"}).status, 0); // restores whole
        EXPECT_EQ(ReadFile(vwx.dir / "back.txt"), Bytes({'n', '/', 'a', '.', 't', 'x', 't'}));
    }
}

} // namespace vw::test
