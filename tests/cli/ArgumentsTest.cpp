#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/Arguments.h"

namespace vw::cli {
namespace {

ParseResult Parse(std::vector<std::string> args) {
    return ParseArguments(args);
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
        Parse({"--replace", "--no-private-code", "--password-file", "pw.txt", "-f", "a.vwx"});
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_TRUE(r.options.replace);
    EXPECT_TRUE(r.options.force);
    EXPECT_TRUE(Parse({"--force", "a"}).options.force);
    EXPECT_TRUE(r.options.noPrivateCode);
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
    EXPECT_TRUE(Parse({"-h"}).options.help);
    EXPECT_TRUE(Parse({"--version"}).ok());
    EXPECT_TRUE(Parse({"--version"}).options.version);
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

TEST(OutputPathFor, ReplaceOutputAndBesideTheSourceButNeverOnIt) {
    Options o;
    o.file = "/d/report.txt";
    o.output = "/e/copy.bin";
    EXPECT_EQ(OutputPathFor(o), "/e/copy.bin");
    o.output.clear();
    o.replace = true;
    EXPECT_EQ(OutputPathFor(o), "/d/report.txt");
    o.replace = false;
    const std::pair<std::string, std::string> beside[] = {
        {"/d/report.txt", "/d/report.out"},       {"/d/noext", "/d/noext.out"},
        {"/d/my.dir/file", "/d/my.dir/file.out"}, {"rel.tar.gz", "rel.tar.out"},
        {"/d/trailing.", "/d/trailing.out"},      {"/d/x.out", "/d/x.output"},
    };
    for (const auto& [file, out] : beside) {
        o.file = file;
        EXPECT_EQ(OutputPathFor(o), out);
    }
}

} // namespace
} // namespace vw::cli
