#include <gtest/gtest.h>

#include <string>

#include "engine/Cp1252.h"

namespace vw {
namespace {

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(bytes)), bytes);
    // Undefined bytes become the control characters of the same number.
    EXPECT_EQ(Cp1252ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");
}

TEST(Cp1252, ConversionsBothWays) {
    const std::pair<std::string, std::string> toUtf8[] = {
        {"\x80", "\u20AC"},           // euro sign
        {"\x9F", "\u0178"},           // Y with diaeresis
        {"\xE8\xE9", "\u00E8\u00E9"}, // Latin-1 part
        {std::string("a\0b/.~", 6), std::string("a\0b/.~", 6)},
    };
    for (const auto& [cp, utf8] : toUtf8)
        EXPECT_EQ(Cp1252ToUtf8(cp), utf8);
    const std::pair<std::string, std::string> toCp[] = {
        {"perch\u00E9 \u20AC5 \u201Cok\u201D", "perch\xE9 \x80"
                                               "5 \x93ok\x94"},
        {"", ""},
        // Characters the code page lacks become question marks.
        {"\u0100", "?"},
        {"a\u4E2Db", "a?b"},
        {"\U0001F600!", "?!"},
        {"\u0080\u0082", "??"}, // C1 controls the code page redefines
        // Invalid UTF-8: one question mark per broken sequence.
        {"a\xFF"
         "b",
         "a?b"},
        {"\x80", "?"},
        {"\xC3", "?"},
        {"\xE2\x82"
         "A",
         "?A"},
        {"\xC0\xAF", "??"},           // overlong "/"
        {"\xE0\x80\xAF", "???"},      // overlong, three bytes
        {"\xED\xA0\x80", "???"},      // surrogate
        {"\xF4\x90\x80\x80", "????"}, // above U+10FFFF
    };
    for (const auto& [utf8, cp] : toCp)
        EXPECT_EQ(Utf8ToCp1252(utf8), cp);
}

TEST(Cp1252, LowerCase) {
    const std::pair<int, int> cases[] = {{'A', 'a'},   {'Z', 'z'},   {'a', 'a'},   {'@', '@'},
                                         {'[', '['},   {0xC0, 0xE0}, {0xDE, 0xFE}, {0xD7, 0xD7},
                                         {0xDF, 0xDF}, {0x8A, 0x9A}, {0x8C, 0x9C}, {0x8E, 0x9E},
                                         {0x9F, 0xFF}, {0x80, 0x80}};
    for (const auto& [upper, lower] : cases)
        EXPECT_EQ(Cp1252ToLower(static_cast<unsigned char>(upper)), lower) << upper;
    // Lower-casing never changes a byte that is already lower case.
    for (int b = 0; b < 256; ++b) {
        const unsigned char lower = Cp1252ToLower(static_cast<unsigned char>(b));
        EXPECT_EQ(Cp1252ToLower(lower), lower) << b;
    }
}

} // namespace
} // namespace vw
