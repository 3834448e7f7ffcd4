// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text shown on a terminal: file names and engine messages may hold any byte.
#include <string>
#include <string_view>

namespace vw::cli {

// The text with every control character written out, so it cannot move the cursor, clear
// the screen or split a line: C0 controls and DEL as \xHH ("\n" is \x0a), C1 controls as
// \u00HH, and bytes that are not valid UTF-8 as \xHH. Everything else is kept as it is.
std::string EscapeControls(std::string_view text);

} // namespace vw::cli
