// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Builds a ".vwx" file from chosen parts, including ones the writer never would.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/cipher/Cipher.h"
#include "engine/codec/Huffman.h"

namespace vw::test {

// A header of 41 bytes: its length first, the check values 174 and 211 last.
inline std::string FixedHeader() {
    std::string header(41, '\0');
    for (std::size_t i = 0; i < header.size(); ++i)
        header[i] = static_cast<char>(i == 0 ? header.size() : i * 37 + 11);
    return header;
}

// The stream the codec writes for data.
inline Bytes Encoded(Bytes data) {
    HuffmanEncode(data, static_cast<std::int32_t>(data.size()));
    return data;
}

// The plain parts of a protected file, in file order.
struct VwxParts {
    std::string header = FixedHeader(); // its first byte is its length
    std::string extension = "txt";      // stored bytes, in the code page
    bool terminated = true;             // false: neither terminator nor stream follows
    Bytes stream = Encoded({'v', 'w'});
    // The two values at the end; the header's last two bytes when not given.
    std::optional<std::array<std::uint8_t, 2>> trailer{};
};

// Every byte encrypted in order by one cipher stream keyed with the password and private code.
inline Bytes Encrypted(Bytes plain, std::string_view password, std::string_view privateCode = {}) {
    Cipher cipher;
    cipher.Init(password, privateCode);
    cipher.EncryptBlock(plain.data(), plain.size());
    return plain;
}

// The file's plain bytes, before encryption.
inline Bytes PlainVwx(const VwxParts& parts) {
    Bytes file(parts.header.begin(), parts.header.end());
    file.insert(file.end(), parts.extension.begin(), parts.extension.end());
    if (parts.terminated) {
        file.push_back(0);
        file.insert(file.end(), parts.stream.begin(), parts.stream.end());
    }
    const auto check = [&](std::size_t k) {
        return static_cast<std::uint8_t>(parts.header[parts.header.size() - 2 + k]);
    };
    const auto trailer = parts.trailer.value_or(std::array<std::uint8_t, 2>{check(0), check(1)});
    file.insert(file.end(), trailer.begin(), trailer.end());
    return file;
}

inline Bytes ForgeVwx(const VwxParts& parts, std::string_view password,
                      std::string_view privateCode = {}) {
    return Encrypted(PlainVwx(parts), password, privateCode);
}

} // namespace vw::test
