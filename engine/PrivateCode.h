// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The private crypto code stored, encrypted and hex-encoded, under the setting "OFB".
#include <string>

namespace vw {

inline constexpr const char* kPrivateCodeFallbackKey = "q7#Tz9";

// Reads and decrypts the stored code; "" when none is stored.
std::string ReadPrivateCode();
// The host's computer name, "" when it cannot be had.
std::string ComputerName();
// Hex pairs to bytes, with the lenient rules for odd lengths and non-hex pairs.
std::string DecodeHexPairs(const std::string& hex);

// The value to store under "OFB" for a code (code-page bytes), which ReadPrivateCode reads back:
// the code encrypted under the computer's name (the fallback key without one) by a cipher of its
// own, so that a job's cipher is never touched, two upper-case hex digits a byte.
std::string EncryptPrivateCode(const std::string& code);

} // namespace vw
