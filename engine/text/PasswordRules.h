// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The password rules: which entries the password dialog and vwx refuse, and the key quality
// score of the dialog's meter. Passwords key the cipher as Windows-1252 bytes. The refusals'
// words are the programs' (platform/JobText.h).
#include <string>
#include <string_view>

namespace vw {

// At least five code-page bytes and not one shorter piece repeated.
bool IsAcceptablePassword(std::string_view password);

enum class PasswordVerdict { Accepted, Mismatch, OutsideCodePage, TooShort };

// Judges the two entries of a new password, given as UTF-8, in this order: they differ or are
// empty; a character of code cannot be carried by the code page (in its place "?" would key
// the file, so that other texts would open it); IsAcceptablePassword refuses its bytes.
PasswordVerdict JudgePassword(std::string_view code, std::string_view confirm);

// The key quality score 0..100 of a text given as code-page bytes.
int RateKeyQuality(std::string_view codePageText);

} // namespace vw
