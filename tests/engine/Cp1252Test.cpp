#include <gtest/gtest.h>

#include <string>

#include "engine/Cp1252.h"

namespace vw {
namespace {

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

TEST(Cp1252, EveryByteRoundTripsThroughUtf8) {
    const std::string bytes = AllBytes();
    const std::string utf8 = Cp1252ToUtf8(bytes);
    EXPECT_EQ(Utf8ToCp1252(utf8), bytes);
}

TEST(Cp1252, HighBytesMapToTheirCharacters) {
    EXPECT_EQ(Cp1252ToUtf8("\x80"), "\u20AC");           // euro sign
    EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\u0178");           // Y with diaeresis
    EXPECT_EQ(Cp1252ToUtf8("\x85"), "\u2026");           // ellipsis
    EXPECT_EQ(Cp1252ToUtf8("\xE8\xE9"), "\u00E8\u00E9"); // Latin-1 part
    EXPECT_EQ(Utf8ToCp1252("perch\u00E9 \u20AC5 \u201Cok\u201D"), "perch\xE9 \x80"
                                                                  "5 \x93ok\x94");
}

TEST(Cp1252, UndefinedBytesBecomeControlCharacters) {
    for (const unsigned char b : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        const std::string byte(1, static_cast<char>(b));
        const std::string utf8 = Cp1252ToUtf8(byte);
        ASSERT_EQ(utf8.size(), 2u);
        EXPECT_EQ(static_cast<unsigned char>(utf8[0]), 0xC2);
        EXPECT_EQ(static_cast<unsigned char>(utf8[1]), b);
        EXPECT_EQ(Utf8ToCp1252(utf8), byte);
    }
}

TEST(Cp1252, UnrepresentableCharactersBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToCp1252("\u0100"), "?");        // A with macron
    EXPECT_EQ(Utf8ToCp1252("a\u4E2Db"), "a?b");    // CJK
    EXPECT_EQ(Utf8ToCp1252("\U0001F600!"), "?!");  // emoji, four bytes
    EXPECT_EQ(Utf8ToCp1252("\u0080\u0082"), "??"); // C1 controls the code page redefines
}

TEST(Cp1252, InvalidUtf8BecomesOneQuestionMarkPerBrokenSequence) {
    EXPECT_EQ(Utf8ToCp1252("a\xFF"
                           "b"),
              "a?b");                     // never a lead byte
    EXPECT_EQ(Utf8ToCp1252("\x80"), "?"); // stray continuation
    EXPECT_EQ(Utf8ToCp1252("\xC3"), "?"); // cut at the end
    EXPECT_EQ(Utf8ToCp1252("\xE2\x82"
                           "A"),
              "?A");                                     // cut before an ASCII letter
    EXPECT_EQ(Utf8ToCp1252("\xC0\xAF"), "??");           // overlong "/"
    EXPECT_EQ(Utf8ToCp1252("\xE0\x80\xAF"), "???");      // overlong, three bytes
    EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), "???");      // surrogate
    EXPECT_EQ(Utf8ToCp1252("\xF4\x90\x80\x80"), "????"); // above U+10FFFF
}

TEST(Cp1252, NulAndAsciiPassUnchanged) {
    const std::string text("a\0b/.~", 6);
    EXPECT_EQ(Utf8ToCp1252(text), text);
    EXPECT_EQ(Cp1252ToUtf8(text), text);
    EXPECT_EQ(Utf8ToCp1252(""), "");
}

TEST(Cp1252, LowerCase) {
    EXPECT_EQ(Cp1252ToLower('A'), 'a');
    EXPECT_EQ(Cp1252ToLower('Z'), 'z');
    EXPECT_EQ(Cp1252ToLower('a'), 'a');
    EXPECT_EQ(Cp1252ToLower('@'), '@');
    EXPECT_EQ(Cp1252ToLower('['), '[');
    EXPECT_EQ(Cp1252ToLower(0xC0), 0xE0); // A grave
    EXPECT_EQ(Cp1252ToLower(0xDE), 0xFE); // thorn
    EXPECT_EQ(Cp1252ToLower(0xD7), 0xD7); // multiplication sign has no case
    EXPECT_EQ(Cp1252ToLower(0xDF), 0xDF); // sharp s
    EXPECT_EQ(Cp1252ToLower(0x8A), 0x9A); // S caron
    EXPECT_EQ(Cp1252ToLower(0x8C), 0x9C); // OE
    EXPECT_EQ(Cp1252ToLower(0x8E), 0x9E); // Z caron
    EXPECT_EQ(Cp1252ToLower(0x9F), 0xFF); // Y diaeresis
    EXPECT_EQ(Cp1252ToLower(0x80), 0x80);
    // Lower-casing never changes a byte that is already lower case.
    for (int b = 0; b < 256; ++b) {
        const unsigned char lower = Cp1252ToLower(static_cast<unsigned char>(b));
        EXPECT_EQ(Cp1252ToLower(lower), lower) << b;
    }
}

} // namespace
} // namespace vw
