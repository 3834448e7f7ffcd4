#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace vw::cli {
namespace {

ParseResult Parse(std::vector<std::string> args) {
    return ParseArguments(args);
}

TEST(ParseArguments, FileAlone) {
    const ParseResult r = Parse({"notes.txt"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.file, "notes.txt");
    EXPECT_EQ(r.options.output, "");
    EXPECT_FALSE(r.options.replace);
    EXPECT_FALSE(r.options.hasPasswordFile);
    EXPECT_FALSE(r.options.noPrivateCode);
}

TEST(ParseArguments, EveryFormOfTheOutputOption) {
    for (const auto& args : std::vector<std::vector<std::string>>{{"-o", "out.txt", "a.txt"},
                                                                  {"-oout.txt", "a.txt"},
                                                                  {"--output", "out.txt", "a.txt"},
                                                                  {"--output=out.txt", "a.txt"},
                                                                  {"a.txt", "-o", "out.txt"}}) {
        const ParseResult r = Parse(args);
        ASSERT_TRUE(r.ok()) << r.error;
        EXPECT_EQ(r.options.output, "out.txt");
        EXPECT_EQ(r.options.file, "a.txt");
    }
}

TEST(ParseArguments, FlagsAndPasswordFile) {
    const ParseResult r =
        Parse({"--replace", "--no-private-code", "--password-file", "pw.txt", "a.vwx"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.options.replace);
    EXPECT_TRUE(r.options.noPrivateCode);
    EXPECT_TRUE(r.options.hasPasswordFile);
    EXPECT_EQ(r.options.passwordFile, "pw.txt");
    const ParseResult s = Parse({"--password-file=-", "a"});
    ASSERT_TRUE(s.ok()) << s.error;
    EXPECT_EQ(s.options.passwordFile, "-");
}

TEST(ParseArguments, DoubleDashEndsOptions) {
    const ParseResult r = Parse({"--", "--replace"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.options.file, "--replace");
    EXPECT_FALSE(r.options.replace);
    const ParseResult dash = Parse({"-"}); // a file named "-"
    ASSERT_TRUE(dash.ok()) << dash.error;
    EXPECT_EQ(dash.options.file, "-");
}

TEST(ParseArguments, HelpAndVersionNeedNoFile) {
    EXPECT_TRUE(Parse({"--help"}).options.help);
    EXPECT_TRUE(Parse({"-h"}).options.help);
    EXPECT_TRUE(Parse({"--version"}).options.version);
    EXPECT_TRUE(Parse({"--version"}).ok());
    EXPECT_FALSE(Parse({"--help", "--bogus"}).ok());
}

TEST(ParseArguments, UsageErrors) {
    for (const auto& args :
         std::vector<std::vector<std::string>>{{},
                                               {"a", "b"},
                                               {""},
                                               {"-o"},
                                               {"a", "--output"},
                                               {"--password-file"},
                                               {"-o", "", "a"},
                                               {"--output=", "a"},
                                               {"-o", "x", "-o", "y", "a"},
                                               {"--password-file=a", "--password-file=b", "f"},
                                               {"--replace", "-o", "x", "a"},
                                               {"--bogus", "a"},
                                               {"-x", "a"},
                                               {"-hx"},
                                               {"--replace=yes", "a"},
                                               {"--no-private-code=1", "a"}}) {
        const ParseResult r = Parse(args);
        EXPECT_FALSE(r.ok()) << "accepted: " << ::testing::PrintToString(args);
    }
    EXPECT_EQ(Parse({"--bogus", "a"}).error, "unknown option --bogus");
    EXPECT_EQ(Parse({}).error, "no file given");
}

TEST(OutputPathFor, ReplaceOutputAndBeside) {
    Options o;
    o.file = "/d/report.txt";
    EXPECT_EQ(OutputPathFor(o), "/d/report.out");
    o.output = "/e/copy.bin";
    EXPECT_EQ(OutputPathFor(o), "/e/copy.bin");
    o.output.clear();
    o.replace = true;
    EXPECT_EQ(OutputPathFor(o), "/d/report.txt");
}

TEST(OutputPathFor, BesideNeverEqualsTheSourceButKeepsItsName) {
    Options o;
    for (const std::string file :
         {"/d/x.out", "/d/noext", "/d/my.dir/file", "rel.tar.gz", "/d/trailing.", "/d/x.vwx"}) {
        o.file = file;
        const std::string out = OutputPathFor(o);
        EXPECT_NE(out, file);
        const auto dot = out.rfind('.');
        ASSERT_NE(dot, std::string::npos);
        const auto fileDot = file.rfind('.');
        const auto slash = file.rfind('/');
        const bool fileHasExt =
            fileDot != std::string::npos && (slash == std::string::npos || fileDot > slash);
        EXPECT_EQ(out.substr(0, dot), fileHasExt ? file.substr(0, fileDot) : file) << file;
    }
}

TEST(Usage, HelpStartsWithTheUsageLine) {
    EXPECT_EQ(HelpText().rfind(UsageLine(), 0), 0u);
    EXPECT_NE(UsageLine().find("FILE"), std::string::npos);
}

} // namespace
} // namespace vw::cli
