// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "cli/Arguments.h"

namespace vw::cli {

// What a command line sets: "files|output|password file|flags" (R --replace, F --force,
// N --no-private-code, H --help, V --version, T --test, E --protect, D --restore, Q --quiet,
// S --store-private-code, X --forget-private-code), "|code file" when one is given and "|-jN"
// for -j, or the error.
TEST(ParseArguments, EveryFormOfEachOptionAndEachUsageError) {
    for (const auto& [args, parsed] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"-oo", "a"}, "a|o||"},
             {{"a", "--output", "o"}, "a|o||"},
             {{"--output=o", "a"}, "a|o||"},
             {{"--replace", "--no-private-code", "--password-file", "p", "-f", "a"}, "a||p|RFN"},
             {{"--force", "--password-file=-", "-h", "--version"}, "||-|FHV"},
             {{"--", "-x"}, "-x|||"},
             {{"-"}, "-|||"},
             {{"--help", "--bogus"}, "unknown option --bogus"},
             {{}, "no file given"},
             {{"-t", "-d", "--quiet", "a", "-", "a"}, "a,-,a|||TDQ"},
             {{"--test", "-q", "--restore", "--protect", "-e", "a"},
              "--protect and --restore exclude each other"},
             {{"-t", "--protect", "a"}, "--test and --protect exclude each other"},
             {{"-t", "-o", "x", "a"},
              "--test writes nothing: it takes neither --output nor --replace"},
             {{"--replace", "--test", "a"},
              "--test writes nothing: it takes neither --output nor --replace"},
             {{"-o", "x", "a", "b"}, "--output takes one file only"},
             {{"a", ""}, "the file's path is empty"},
             {{""}, "the file's path is empty"},
             {{"-o"}, "option -o needs a value"},
             {{"a", "--password-file"}, "option --password-file needs a value"},
             {{"--output=", "a"}, "the output path is empty"},
             {{"--password-file", "", "a"}, "the password file's path is empty"},
             {{"-o", "x", "--output=y", "a"}, "the output path is given twice"},
             {{"--password-file=p", "--password-file=q", "a"}, "--password-file is given twice"},
             {{"--replace", "-o", "x", "a"}, "--replace and --output exclude each other"},
             {{"-x", "a"}, "unknown option -x"},
             {{"-hx"}, "unknown option -hx"},
             {{"--replace=yes", "a"}, "option --replace takes no value"},
             // The private code's commands: no FILE, no job option, the code file with a store.
             {{"--store-private-code", "-f", "--private-code-file", "c"}, "|||FS|c"},
             {{"-q", "--forget-private-code"}, "|||QX"},
             {{"--store-private-code", "--forget-private-code"},
              "--store-private-code and --forget-private-code exclude each other"},
             {{"--store-private-code", "-t"},
              "--store-private-code runs no job: it takes no FILE and none of -t, -e, -d, -o, -j, "
              "--replace, --password-file, --no-private-code"},
             {{"--forget-private-code=yes"}, "option --forget-private-code takes no value"},
             {{"--store-private-code", "-j", "2"}, "--store-private-code runs no job: it takes "
                                                   "no FILE and none of -t, -e, -d, -o, -j, "
                                                   "--replace, --password-file, --no-private-code"},
             // The number of jobs: a positive whole number in digits, in any of the forms.
             {{"-j", "3", "a"}, "a||||-j3"},
             {{"-j12", "-q", "a"}, "a|||Q|-j12"},
             {{"--jobs=1", "a", "b"}, "a,b||||-j1"},
             {{"--jobs", "007", "a"}, "a||||-j7"},
             {{"-j", "2", "-j", "4", "a"}, "a||||-j4"}, // the last one counts
             {{"-j", "0", "a"}, "-j takes a positive whole number, not \"0\""},
             {{"-j", "-2", "a"}, "-j takes a positive whole number, not \"-2\""},
             {{"--jobs=+2", "a"}, "-j takes a positive whole number, not \"+2\""},
             {{"-j", "2x", "a"}, "-j takes a positive whole number, not \"2x\""},
             {{"-j", " 2", "a"}, "-j takes a positive whole number, not \" 2\""},
             {{"--jobs=", "a"}, "-j takes a positive whole number, not \"\""},
             {{"-j", "99999999999", "a"}, "-j takes a positive whole number, not \"99999999999\""},
             {{"a", "-j"}, "option -j needs a value"},
             {{"-j", "2"}, "no file given"}}) {
        const ParseResult r = ParseArguments(args);
        const Options& o = r.options;
        const std::string flags = std::string(o.replace ? "R" : "") + (o.force ? "F" : "") +
                                  (o.noPrivateCode ? "N" : "") + (o.help ? "H" : "") +
                                  (o.version ? "V" : "") + (o.test ? "T" : "") +
                                  (o.protect ? "E" : "") + (o.restore ? "D" : "") +
                                  (o.quiet ? "Q" : "") + (o.storePrivateCode ? "S" : "") +
                                  (o.forgetPrivateCode ? "X" : "");
        const std::string codeFile = o.privateCodeFile.empty() ? "" : "|" + o.privateCodeFile;
        const std::string jobs = o.jobs > 0 ? "|-j" + std::to_string(o.jobs) : "";
        std::string files;
        for (const std::string& file : o.files)
            files += (files.empty() ? "" : ",") + file;
        EXPECT_EQ(r.ok() ? files + "|" + o.output + "|" + o.passwordFile + "|" + flags + codeFile +
                               jobs
                         : r.error,
                  parsed);
    }
}

} // namespace vw::cli
