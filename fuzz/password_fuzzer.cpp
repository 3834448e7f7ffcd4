// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The password rules and the key quality score on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/text/Cp1252.h"
#include "engine/text/PasswordRules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (vw::IsAcceptablePassword(text) && size < 5) __builtin_trap();
    // A password doubled is always one piece repeated.
    if (size > 0 && vw::IsAcceptablePassword(text + text)) __builtin_trap();
    const int score = vw::RateKeyQuality(text);
    if (score < 0 || score > 100) __builtin_trap();
    // An accepted password keys the cipher faithfully; a refusal for characters names them.
    const vw::PasswordVerdict verdict = vw::JudgePassword(text, text);
    const bool accepted = verdict == vw::PasswordVerdict::Accepted;
    const std::string outside = vw::CharactersOutsideCp1252(text);
    if (accepted && !outside.empty()) __builtin_trap();
    if ((verdict == vw::PasswordVerdict::OutsideCodePage) == outside.empty()) __builtin_trap();
    if (!outside.empty() && vw::CodePointList(outside).empty()) __builtin_trap();
    return 0;
}
