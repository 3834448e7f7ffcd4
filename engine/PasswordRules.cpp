// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PasswordRules.h"

#include <algorithm>

#include "engine/Bytes.h"
#include "engine/Cp1252.h"
#include "engine/JobState.h"

namespace vw {
namespace {

constexpr std::size_t kMinPasswordLength = 5;
// Three points a character; 34 characters already reach the top of the meter.
constexpr std::size_t kFullScoreLength = 34;
constexpr int kTopScore = 100;

bool IsUpper(unsigned char c) {
    return c >= 65 && c <= 90;
}
bool IsLower(unsigned char c) {
    return c >= 97 && c <= 122;
}
bool IsDigit(unsigned char c) {
    return c >= 48 && c <= 57;
}
// Codes 91 to 96 count in no class.
bool IsSymbol(unsigned char c) {
    return c < 48 || (c >= 58 && c <= 64) || c > 122;
}

template <class Class> bool Any(std::string_view text, Class isClass) {
    return std::any_of(text.begin(), text.end(),
                       [&](char c) { return isClass(static_cast<unsigned char>(c)); });
}

} // namespace

bool IsAcceptablePassword(std::string_view password) {
    const std::size_t n = password.size();
    if (n < kMinPasswordLength) return false;
    for (std::size_t c = 1; c <= n / 2; ++c) {
        bool repeated = true;
        for (std::size_t start = c; start < n && repeated; start += c) {
            // A last piece shorter than the pattern differs from it.
            repeated = start + c <= n && password.compare(start, c, password, 0, c) == 0;
        }
        if (repeated) return false;
    }
    return true;
}

PasswordVerdict JudgePassword(std::string_view code, std::string_view confirm) {
    if (code != confirm || code.empty()) return PasswordVerdict::Mismatch;
    if (!CharactersOutsideCp1252(code).empty()) return PasswordVerdict::OutsideCodePage;
    std::string bytes = Utf8ToCp1252(code);
    const bool acceptable = IsAcceptablePassword(bytes);
    SecureWipe(bytes);
    return acceptable ? PasswordVerdict::Accepted : PasswordVerdict::TooShort;
}

std::string PasswordRefusalText(PasswordVerdict verdict, std::string_view code) {
    switch (verdict) {
    case PasswordVerdict::Accepted:
        break;
    case PasswordVerdict::Mismatch:
        return kPasswordMismatchText;
    case PasswordVerdict::TooShort:
        return kPasswordTooShortText;
    case PasswordVerdict::OutsideCodePage:
        // By code point: the typed characters are not shown, and some would be invisible.
        return kPasswordOutsideCodePageText + CodePointList(CharactersOutsideCp1252(code));
    }
    return {};
}

int RateKeyQuality(std::string_view codePageText) {
    // Long texts reach the top whatever their characters; this also keeps the score within
    // 16 bits for texts of any length.
    if (codePageText.size() >= kFullScoreLength) return kTopScore;
    double score = 3.0 * static_cast<double>(codePageText.size());
    const bool upper = Any(codePageText, IsUpper);
    const bool lower = Any(codePageText, IsLower);
    if (upper && lower) score = RoundHalfEven(score * 1.2);
    // A digit counts only beside letters.
    if ((upper || lower) && Any(codePageText, IsDigit)) score = RoundHalfEven(score * 1.4);
    if (Any(codePageText, IsSymbol)) score = RoundHalfEven(score * 1.5);
    return std::min(static_cast<int>(score), kTopScore);
}

} // namespace vw
