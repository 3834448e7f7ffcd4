// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// vwx --store-private-code and --forget-private-code: which codes are stored, asking on the
// terminal, and the commands run end to end.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "VwxProcess.h"
#include "cli/PrivateCodeCommand.h"
#include "engine/ProtectedFile.h"

namespace vw::cli {
namespace {

// Characters are counted, not bytes: a code of "é" takes two bytes a character in UTF-8.
TEST(PrivateCodeRefusal, EmptyOutsideTheCodePageControlCharactersAndTooLong) {
    const std::string e = "\u00E9";
    std::string longest, tooLong;
    for (std::size_t i = 0; i < kMaxPrivateCode; ++i)
        longest += e;
    tooLong = longest + "x";
    const std::pair<std::string, std::string> rows[] = {
        {"Codice1", ""},
        {" a b ", ""},
        {"Perch\u00E9 \u20AC\u0178", ""},
        {longest, ""},
        {"", "the private code is empty"},
        {"\u043A\u043E\u0434", "the private code has characters that the Windows-1252 code page "
                               "cannot carry, use others: \"\u043A\", \"\u043E\", \"\u0434\""},
        {"ab\xFF", "the private code has characters that the Windows-1252 code page"},
        {"a\tb\x01\t", "the private code has control characters, use printable ones: \"\\x09\", "
                       "\"\\x01\""},
        {std::string("c\0d", 3), "the private code has control characters"},
        {"a\u0081", "the private code has control characters"},
        {"a\x7F", "the private code has control characters"},
        {tooLong, "the private code is longer than 16383 characters"}};
    for (const auto& [code, refusal] : rows) {
        const std::string told = PrivateCodeRefusal(code);
        EXPECT_EQ(told.substr(0, refusal.size()), refusal) << code.substr(0, 20);
        EXPECT_EQ(told.empty(), refusal.empty()) << told;
    }
}

// Asks twice until both agree and the code can be stored; every answer is wiped once judged.
TEST(AskNewPrivateCode, AsksUntilBothAnswersAgreeOnACodeThatCanBeStored) {
    const std::vector<std::string> answers{"Codice1", "Codice2", "",      "",
                                           "a\tb",    "a\tb",    "Cod\u00E9", "Cod\u00E9"};
    std::string prompts, told, code;
    const auto ask = [&](const char* prompt, std::string& answer) {
        EXPECT_EQ(answer, "") << "not wiped before answer " << prompts.size();
        prompts += prompt[0]; // "Private code: " or "Confirm private code: "
        answer = answers.at(prompts.size() - 1);
        return true;
    };
    const auto tell = [&](const std::string& message) { told += message + "|"; };
    EXPECT_EQ(AskNewPrivateCode(ask, tell, code) ? code : "", "Cod\u00E9");
    EXPECT_EQ(prompts + told, "PCPCPCPCthe two private codes do not match|" +
                                  PrivateCodeRefusal("") + "|" + PrivateCodeRefusal("a\tb") + "|");
    // Giving up at the second prompt wipes the first answer.
    const auto giveUp = [&](const char* prompt, std::string& answer) {
        answer = prompt[0] == 'P' ? "Codice1" : "";
        return prompt[0] == 'P';
    };
    EXPECT_FALSE(AskNewPrivateCode(giveUp, tell, code));
    EXPECT_EQ(code, "");
}

} // namespace
} // namespace vw::cli

namespace vw::test {
namespace {

// The code is stored from a file as the desktop program and vwx read it (no byte order mark, no
// line end, in the code page), keys the jobs after it, is kept from being replaced without -f,
// and is forgotten; a settings file that cannot be written is told.
TEST(VwxPrivateCode, StoredKeysLaterJobsUntilForgottenAndOddCodesAreRefused) {
    VwxProcess vwx;
    const std::string conf = vwx.home / ".config/vaultwise/vaultwise.conf";
    WriteFile(vwx.dir / "a.txt", TextData(3000, 1));
    WriteFile(vwx.home / "code", std::string("\xEF\xBB\xBF" "Codic\u00E9 1\r\nsecond line\n"));
    WriteFile(vwx.home / "empty", std::string());
    WriteFile(vwx.home / "cyrillic", std::string("\u043A\u043E\u0434\n"));
    vwx.input = "Altro1\n";
    const std::string code = vwx.home / "code", wrong = "a.vwx: Errore Generico 3 (password "
                                                         "errata o file danneggiato)\n";
    // Arguments, exit status, standard output, part of standard error.
    using Run = std::tuple<std::vector<std::string>, int, std::string, std::string>;
    for (const auto& [args, status, out, err] :
         {Run{{"--store-private-code", "a.txt"}, 64, "", "--store-private-code runs no job"},
          Run{{"--store-private-code"}, 64, "", "no terminal to ask the private code on"},
          Run{{"--store-private-code", "--private-code-file", "nope"}, 64, "", "file nope\n"},
          Run{{"--store-private-code", "--private-code-file", vwx.home / "empty"}, 65, "", "empty"},
          Run{{"--store-private-code", "--private-code-file", vwx.home / "cyrillic"},
              65,
              "",
              "cannot carry, use others: \"\u043A\""},
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
          Run{{"--forget-private-code"}, 0, "private code forgotten: files protected with it "
                                            "no longer open until it is stored again\n", ""},
          Run{{"-t", "a.vwx"}, 23, wrong, ""}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const RunResult r = vwx.Run(args);
        EXPECT_EQ(std::tuple(r.status, r.out), std::tuple(status, out));
        EXPECT_NE(r.err.find(err), std::string::npos) << r.err;
    }
    struct stat st {};
    EXPECT_TRUE(::stat(conf.c_str(), &st) == 0 && (st.st_mode & 0777) == 0600) << st.st_mode;
    // The code the file was keyed with is the first line's, in the code page.
    EXPECT_EQ(TestProtectedFile(vwx.dir / "a.vwx", "Segreto1", "Codic\xE9 1"), 0);
    std::filesystem::remove(conf); // a folder where the file should be
    std::filesystem::create_directory(conf);
    const RunResult r = vwx.Run({"--store-private-code", "--private-code-file", code});
    EXPECT_EQ(r.status, 74);
    EXPECT_EQ(r.err, "vwx: cannot write the settings file " + conf + "; nothing was stored\n");
}

} // namespace
} // namespace vw::test
