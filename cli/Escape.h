// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text shown on a terminal: file names and engine messages may hold any byte.
#include <string>
#include <string_view>

namespace vw::cli {

// The text with every character written out that a terminal would not show as itself, so it
// cannot move the cursor, clear the screen, split a line, turn the text around or hide in it:
// C0 controls and DEL as \xHH ("\n" is \x0a), bytes that are not valid UTF-8 as \xHH, C1
// controls, format characters (bidirectional overrides, zero-width characters, the byte order
// mark), line and paragraph separators and the characters that show as nothing (the soft
// hyphen, variation selectors, Hangul fillers, the blank Braille pattern, tags) by their code
// point, as \u{202E}. Everything else is kept as it is.
std::string EscapeControls(std::string_view text);

} // namespace vw::cli
