// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// vwx --store-private-code and --forget-private-code: which codes are stored, asking twice, and
// the commands run end to end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "VwxProcess.h"
#include "cli/PrivateCodeCommand.h"
#include "engine/job/Job.h"

namespace vw::cli {
namespace {

// Asks twice until both answers agree on a code that can be stored: not empty, in the code page,
// no control characters (C1 ones included), at most 16383 characters (not bytes: "€" takes three
// in UTF-8). Every answer is wiped once judged, the first too when the input ends at the second.
TEST(AskNewPrivateCode, AsksUntilBothAnswersAgreeOnACodeThatCanBeStored) {
    std::string longest;
    for (std::size_t i = 0; i < kMaxPrivateCode; ++i)
        longest += "\u20AC";
    std::vector<std::string> answers{"Codice1", "Codice2"};
    for (const std::string& code :
         {std::string(), std::string("\u043A\u043E"), std::string("a\tb\0\t", 5),
          std::string("a\u0081"), longest + "x", longest})
        answers.insert(answers.end(), {code, code});
    std::string prompts, told, code;
    const auto ask = [&](const char* prompt, std::string& answer) {
        EXPECT_EQ(answer, "") << "not wiped before answer " << prompts.size();
        prompts += prompt[0]; // "Private code: " or "Confirm private code: "
        if (prompts.size() > answers.size()) return false;
        answer = answers[prompts.size() - 1];
        return true;
    };
    const auto tell = [&](const std::string& message) { told += message + "|"; };
    EXPECT_TRUE(AskNewPrivateCode(ask, tell, code) && code == longest);
    EXPECT_EQ(told, "the two private codes do not match|the private code is empty; nothing was "
                    "stored (--forget-private-code removes a stored one)|the private code has "
                    "characters that the Windows-1252 code page cannot carry, use others: "
                    "U+043A, U+043E|the private code has control characters, use "
                    "printable ones: \"\\x09\", \"\\x00\"|the private code has control "
                    "characters, use printable ones: \"\\u{0081}\"|the private code is longer "
                    "than 16383 characters|");
    prompts.clear(), code.clear(), answers = {"Codice1"};
    EXPECT_FALSE(AskNewPrivateCode(ask, tell, code) || !code.empty());
}

} // namespace
} // namespace vw::cli

namespace vw::test {
namespace {

// Stored from a file as both programs read it (no byte order mark, no line end, in the code
// page), it keys the jobs after it, is replaced only with -f, and is forgotten; a settings file
// that cannot be written is told.
TEST(VwxPrivateCode, StoredKeysLaterJobsUntilForgotten) {
    VwxProcess vwx;
    vwx.language = "en_US.UTF-8";
    const std::string conf = vwx.home / ".config/vaultwise/vaultwise.conf", code = vwx.home / "c";
    WriteFile(vwx.dir / "a.txt", TextData(3000, 1));
    WriteFile(code, std::string("\xEF\xBB\xBF"
                                "Codic\u00E9 1\r\nsecond line\n"));
    vwx.input = "Altro1\n";
    const std::string wrong =
        "a.vwx: The file could not be decrypted (wrong password or damaged file)\n";
    // Arguments, exit status, standard output, part of standard error.
    using Run = std::tuple<std::vector<std::string>, int, std::string, std::string>;
    for (const auto& [args, status, out, err] :
         {Run{{"--store-private-code", "a.txt"}, 64, "", "--store-private-code runs no job"},
          Run{{"--store-private-code", "--private-code-file", "nope"}, 64, "", "file nope\n"},
          Run{{"--forget-private-code"}, 0, "no private code was stored\n", ""},
          Run{{"--store-private-code", "--private-code-file", code},
              0,
              "private code stored in " + conf + "\n",
              ""},
          Run{{"a.txt"}, 0, "a.vwx\n", ""},
          Run{{"-t", "--no-private-code", "a.vwx"}, 23, wrong, ""},
          Run{{"--store-private-code", "--private-code-file=-"}, 73, "", "stored already in"},
          Run{{"-q", "-f", "--store-private-code", "--private-code-file=-"}, 0, "", ""},
          Run{{"-t", "a.vwx"}, 23, wrong, ""}, // keyed by another code now
          Run{{"--forget-private-code"},
              0,
              "private code forgotten: files protected with it "
              "no longer open until it is stored again\n",
              ""},
          Run{{"-t", "a.vwx"}, 23, wrong, ""}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const RunResult r = vwx.Run(args);
        EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(status, out));
        EXPECT_NE(r.err.find(err), std::string::npos) << r.err;
    }
    struct stat st {};
    EXPECT_TRUE(::stat(conf.c_str(), &st) == 0 && (st.st_mode & 0777) == 0600) << st.st_mode;
    JobRequest test;
    test.kind = JobKind::Test;
    test.source = vwx.dir / "a.vwx";
    test.password = KeyText("Segreto1");
    test.privateCode = KeyText("Codic\xE9 1");
    JobControl control;
    EXPECT_EQ(RunJob(test, control).status, 0);
    Bytes junk(300); // no settings at all: written over, and the code is stored
    for (std::size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<std::uint8_t>(i * 37 + 11);
    WriteFile(conf, junk);
    EXPECT_EQ(vwx.Run({"--store-private-code", "--private-code-file", code}).status, 0);
    std::filesystem::remove(conf); // a folder where the file should be
    std::filesystem::create_directory(conf);
    const RunResult r = vwx.Run({"--store-private-code", "--private-code-file", code});
    EXPECT_EQ(std::tuple(r.status, r.err), std::tuple(74, "vwx: cannot write the settings file " +
                                                              conf + "; nothing was stored\n"));
}

} // namespace
} // namespace vw::test
