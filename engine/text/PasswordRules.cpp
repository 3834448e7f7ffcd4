// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/text/PasswordRules.h"

#include <algorithm>
#include <cmath>

#include "engine/io/Bytes.h"
#include "engine/text/Cp1252.h"

namespace vw {
namespace {

// The whole number nearest to value, halves to the even neighbour (the default floating-point
// environment rounds so).
int RoundHalfEven(double value) {
    return static_cast<int>(std::nearbyint(value));
}

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
