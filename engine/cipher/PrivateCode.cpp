// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cipher/PrivateCode.h"

#include "engine/cipher/Cipher.h"
#include "engine/io/Bytes.h"

namespace vw {
namespace {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The value of the hexadecimal digits a piece starts with: both digits of a well-formed pair,
// the leading digit of a pair whose second character is not a digit, 0 when it starts with
// none.
int LeadingHexValue(const char* piece, std::size_t length) {
    int value = 0;
    for (std::size_t k = 0; k < length; ++k) {
        const int digit = HexDigitValue(piece[k]);
        if (digit < 0) break;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

std::string DecodeHexPairs(const std::string& hex) {
    // The whole value is decoded, however long: positions are not limited to 16 bits here.
    std::string code;
    code.reserve(hex.size() / 2 + 1);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const std::size_t length = hex.size() - i < 2 ? 1 : 2;
        code += static_cast<char>(LeadingHexValue(hex.data() + i, length));
    }
    return code;
}

std::string ReadPrivateCode(Host& host) {
    const std::string stored = host.ReadSetting(kPrivateCodeSetting, "");
    if (stored.empty()) return {};
    std::string key = host.ComputerName();
    if (key.empty()) key = kPrivateCodeFallbackKey;
    std::string text = DecodeHexPairs(stored);
    Bytes code(text.begin(), text.end());
    SecureWipe(text);
    {
        Cipher cipher; // its own, wiped when it goes
        cipher.Init(key, "");
        DecryptBuffer(cipher, code);
    }
    std::string result(code.begin(), code.end());
    SecureWipe(code);
    SecureWipe(key);
    return result;
}

std::string EncryptPrivateCode(Host& host, const std::string& code) {
    std::string key = host.ComputerName();
    if (key.empty()) key = kPrivateCodeFallbackKey;
    Cipher cipher;
    cipher.Init(key, "");
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(code.size() * 2);
    for (const char c : code) {
        const std::uint8_t encrypted = cipher.EncryptByte(static_cast<std::uint8_t>(c));
        hex += kDigits[encrypted >> 4];
        hex += kDigits[encrypted & 15];
    }
    cipher.Wipe();
    SecureWipe(key);
    return hex;
}

} // namespace vw
