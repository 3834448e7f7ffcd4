// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The password rules: which entries the password dialog and vwx refuse, the dialog's refusal
// texts, and the key quality score of the dialog's meter. Passwords key the cipher as
// Windows-1252 bytes.
#include <string>
#include <string_view>

#include "engine/TextMark.h"

namespace vw {

inline constexpr const char* kPasswordMismatchText =
    VW_TEXT("engine", "Le password non conincidono");
inline constexpr const char* kPasswordTooShortText = VW_TEXT("engine", "Password troppo corta");
// Followed by the characters the code page cannot carry, by code point ("U+0416, U+FEFF").
inline constexpr const char* kPasswordOutsideCodePageText =
    VW_TEXT("engine", "La password contiene caratteri non ammessi: ");

// At least five code-page bytes and not one shorter piece repeated.
bool IsAcceptablePassword(std::string_view password);

enum class PasswordVerdict { Accepted, Mismatch, OutsideCodePage, TooShort };

// Judges the two entries of a new password, given as UTF-8, in this order: they differ or are
// empty; a character of code cannot be carried by the code page (in its place "?" would key
// the file, so that other texts would open it); IsAcceptablePassword refuses its bytes.
PasswordVerdict JudgePassword(std::string_view code, std::string_view confirm);

// The dialog's message for a verdict on code (UTF-8); "" for Accepted.
std::string PasswordRefusalText(PasswordVerdict verdict, std::string_view code);

// The key quality score 0..100 of a text given as code-page bytes.
int RateKeyQuality(std::string_view codePageText);

} // namespace vw
