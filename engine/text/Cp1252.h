// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1252, the single-byte code page that key texts and stored extensions use.
// Every byte round-trips: the five undefined bytes map to the control characters of the same
// value. Characters the code page cannot represent become "?".
#include <string>
#include <string_view>

namespace vw {

std::string Utf8ToCp1252(std::string_view utf8);
// The characters of a UTF-8 text that the code page cannot represent, each once, in the order
// they first appear (as UTF-8; an invalid byte sequence counts as U+FFFD). Empty when the
// whole text converts faithfully. A key text with such characters must be refused: "?" in
// their place would let other texts open the file.
std::string CharactersOutsideCp1252(std::string_view utf8);
// The characters of a UTF-8 text by their code points, "U+043F, U+FEFF" (a byte sequence that
// is not UTF-8 as U+FFFD): names characters that may be invisible, or secret, without showing
// them.
std::string CodePointList(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view bytes);
// Lower case of one code-page byte (ASCII letters and the accented letters of the code page).
unsigned char Cp1252ToLower(unsigned char byte);

} // namespace vw
