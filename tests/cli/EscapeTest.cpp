// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "cli/Escape.h"

namespace vw::cli {

TEST(EscapeControls, WritesOutEveryControlCharacterAndKeepsTheRest) {
    const std::pair<std::string, std::string> cases[] = {
        {"caff\u00E8 \u0800\uD7FF\uE000\U00010000\U0010FFFF ~", ""}, // kept as it is
        {"a\x1b[2Jb\nc\td\r\x7f\x1f\x01", "a\\x1b[2Jb\\x0ac\\x09d\\x0d\\x7f\\x1f\\x01"},
        {"\u0080\u009f\u00a0", "\\u{0080}\\u{009F}\u00a0"}, // C1 controls; no-break space kept
        // Bidirectional overrides, zero-width and invisible characters; combining marks stay.
        {"bidi\u202Egnp.exe\u200B\uFEFF\u2028\U000E0001e\u0301",
         "bidi\\u{202E}gnp.exe\\u{200B}\\u{FEFF}\\u{2028}\\u{E0001}e\u0301"},
        // Characters that show as nothing or a blank, though not format characters.
        {"a\u00AD\u034F\u115F\u3164\uFE0F\uFFA0\u2800\u180E\U000E0100z",
         "a\\u{00AD}\\u{034F}\\u{115F}\\u{3164}\\u{FE0F}\\u{FFA0}\\u{2800}\\u{180E}"
         "\\u{E0100}z"},
        // Not UTF-8: a stray byte, a lead without its tail, surrogates, past U+10FFFF, cut short.
        {"\xff\xc3(\xed\xa0\x80\xed\xbf\xbf\xf4\x90\x80\x80\xf0\x9f\x98",
         "\\xff\\xc3(\\xed\\xa0\\x80\\xed\\xbf\\xbf\\xf4\\x90\\x80\\x80\\xf0\\x9f\\x98"}};
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(EscapeControls(text), shown.empty() ? text : shown);
}

} // namespace vw::cli
