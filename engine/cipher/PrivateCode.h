// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The private crypto code stored, encrypted and hex-encoded, under the setting "OFB": a second
// key text beside the password, bound to the computer whose name encrypts it.
#include <string>

#include "engine/io/Host.h"

namespace vw {

inline constexpr const char* kPrivateCodeFallbackKey = "q7#Tz9";
inline constexpr const char* kPrivateCodeSetting = "OFB";

// Reads and decrypts the code the host stores, in the code page; "" when none is stored.
std::string ReadPrivateCode(Host& host);
// Hex pairs to bytes, with the lenient rules for odd lengths and non-hex pairs.
std::string DecodeHexPairs(const std::string& hex);

// The value to store under "OFB" for a code (code-page bytes), which ReadPrivateCode reads back:
// the code encrypted under the host's computer name (the fallback key without one), two
// upper-case hex digits a byte.
std::string EncryptPrivateCode(Host& host, const std::string& code);

} // namespace vw
