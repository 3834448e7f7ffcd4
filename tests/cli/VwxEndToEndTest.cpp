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
          Run{{"--password-file", vwx.home / "long", "-o", "t", "s.vwx"}, "", 23, "", "Generico"},
          Run{{"s.vwx"}, "\u043F\u0430\u0440\u043E\u043B\u044C1", 3, "", "\"\u043F\", \"\u0430\""},
          Run{{"s.vwx"}, "abcdef\xFF", 3, "", "(\"\uFFFD\" stands for bytes that are not UTF-8)"},
          Run{{"gone\x1b[2J\n.txt"}, "", 4, "", "File non trovato: gone\\x1b[2J\\x0a.txt\n"},
          Run{{"sub"}, "", 4, "", "vwx: sub is a folder, not a file\n"},
          Run{{"fifo"}, "", 4, "", "vwx: fifo is a FIFO, not a file\n"},
          Run{{"-o", "t", "s.vwx"}, pw, 23, "", "3 (password errata o file danneggiato)"}, // code
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
              "s.vwx: ok\nsum.vwx: Errore di compressione\ngone: File non trovato: gone\n"
              "s.dat: ok\ns.txt: Errore Generico 3 (password errata o file danneggiato)\n",
              ""},
          Run{{"-q", "-t", "--no-private-code", "s.dat"}, pw, 0, "", ""},
          Run{{"-d", "--no-private-code", "-o", "r", "s.dat"}, pw, 0, "r.txt\n", ""},
          Run{{"-e", "-f", "s.vwx"}, "", 73, "", "s.vwx would be replaced by its own protected"},
          // A file named twice is not protected twice over; a failure does not stop the rest.
          Run{{"-e", "my-vwx.txt", "my-vwx.txt"},
              pw,
              73,
              "my-vwx.vwx\n",
              "vwx: my-vwx.txt: my-vwx.vwx was written earlier in this run"},
          // -f never replaces what an earlier file of the same call wrote.
          Run{{"--replace", "-f", "d.txt", "d.md"}, pw, 73, "d.vwx\n", "d.vwx was written earlier"},
          Run{{"-f", "my-vwx.vwx", "gone", "x.out"},
              pw,
              4,
              "my-vwx.txt\nx.vwx\n",
              "vwx: gone: File non trovato: gone\n"}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const auto files = vwx.dir.Snapshot();
        const RunResult r = vwx.Run(args, password);
        EXPECT_EQ(r.status, status);
        EXPECT_EQ(r.out, out);
        EXPECT_NE(r.err.find(err), std::string::npos) << r.err;
        EXPECT_EQ(r.err.find('\x1b'), std::string::npos);
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
    EXPECT_EQ(closed.err, "vwx: cannot write to standard output: Broken pipe\n");
    EXPECT_EQ(vwx.dir.Entries(), (std::vector<std::string>{
                                     "a.vwx", "d.md", "d.vwx", "e\x1b[2J\n.txt", "e\x1b[2J\n.vwx",
                                     "fifo", "my-vwx.txt", "my-vwx.vwx", "r.vwx", "s.dat", "s.txt",
                                     "s.vwx", "sub", "sum.vwx", "x.out", "x.vwx"}));
}

} // namespace vw::test
