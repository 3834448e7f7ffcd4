#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "engine/Cp1252.h"

namespace vw {
namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
    EXPECT_TRUE(CharactersOutsideCp1252(Cp1252ToUtf8(bytes)).empty());
    // Undefined bytes become the control characters of the same number.
    EXPECT_EQ(Cp1252ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");
}

TEST(Cp1252, UnrepresentableCharactersBecomeQuestionMarksAndAreListedOnce) {
    // UTF-8, its code-page bytes, the characters the code page cannot carry. Each broken UTF-8
    // sequence is one U+FFFD.
    const std::string r = "\uFFFD";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"perch\u00E9 \u20AC \u201Cok\u201D\u0178", "perch\xE9 \x80 \x93ok\x94\x9F", ""},
        {std::string("a\0z/.~", 6), std::string("a\0z/.~", 6), ""},
        {"\u0100a\u4E2D\u0100", "?a??", "\u0100\u4E2D"},
        {"\U0001F600!", "?!", "\U0001F600"},
        {"\u0080\u0082", "??", "\u0080\u0082"}, // C1 controls the code page redefines
        {"a\xFFz\x80", "a?z?", r},              // bytes that start no character
        {"\xC3", "?", r},                       // cut short
        {"\xE2\x82z", "?z", r},
        {"\xC0\xAF", "??", r},            // overlong "/"
        {"\xE0\x80\xAF", "???", r},       // overlong, three bytes
        {"\xED\xA0\x80", "???", r},       // surrogate
        {"\xF4\x90\x80\x80", "????", r}}; // above U+10FFFF
    for (const auto& [utf8, bytes, outside] : cases) {
        EXPECT_EQ(Utf8ToCp1252(utf8), bytes) << utf8;
        EXPECT_EQ(CharactersOutsideCp1252(utf8), outside) << utf8;
        EXPECT_TRUE(!outside.empty() || Cp1252ToUtf8(bytes) == utf8) << utf8;
    }
}

TEST(Cp1252, LowerCase) {
    const std::pair<int, int> cases[] = {{'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {'@', '@'},
                                         {'[', '['},   {0xC0, 0xE0}, {0xDE, 0xFE}, {0xD7, 0xD7},
                                         {0xDF, 0xDF}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E},
                                         {0x9F, 0xFF}, {0x80, 0x80}};
    for (const auto& [upper, lower] : cases)
        EXPECT_EQ(Cp1252ToLower(static_cast<unsigned char>(upper)), lower) << upper;
}

} // namespace
} // namespace vw
