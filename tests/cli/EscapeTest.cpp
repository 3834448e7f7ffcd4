#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "cli/Escape.h"

namespace vw::cli {
namespace {

TEST(EscapeControls, WritesOutEveryControlCharacterAndKeepsTheRest) {
    using namespace std::string_literals;
    const std::pair<std::string, std::string> cases[] = {
        {"/home/anna/notes.txt", "/home/anna/notes.txt"},
        {"caff\u00E8 \u043F\u0430\u0440\u043E\u043B\u044C \u5BC6 \U0001F600",
         "caff\u00E8 \u043F\u0430\u0440\u043E\u043B\u044C \u5BC6 \U0001F600"},
        {"a\x1b[2Jb\nc\td\r\x7f"s, "a\\x1b[2Jb\\x0ac\\x09d\\x0d\\x7f"},
        {"nul\0end"s, "nul\\x00end"},
        {"\u0080\u009b\u00a0", "\\u0080\\u009b\u00a0"}, // C1 controls; no-break space kept
        {"\xff\xc3(\xe2\x82\xc0\x80\xed\xa0\x80", "\\xff\\xc3(\\xe2\\x82\\xc0\\x80\\xed\\xa0\\x80"},
        {"\xf4\x90\x80\x80\xf0\x9f\x98",
         "\\xf4\\x90\\x80\\x80\\xf0\\x9f\\x98"}, // past U+10FFFF, cut
        {"", ""},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(EscapeControls(text), shown);
        EXPECT_EQ(EscapeControls(shown), shown); // what it shows needs no escaping again
    }
}

} // namespace
} // namespace vw::cli
