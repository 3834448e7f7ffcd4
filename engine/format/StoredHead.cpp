// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/format/StoredHead.h"

#include <algorithm>
#include <string_view>

#include "engine/io/Bytes.h"
#include "engine/io/Paths.h"
#include "engine/text/Cp1252.h"

namespace vw {
namespace {

// The stored extension for a message, its control characters written as \xHH. The bytes
// between them are converted a run at a time: a damaged file can store hundreds.
std::string PrintableExtension(const std::string& storedBytes) {
    const std::string_view bytes = storedBytes;
    std::string text;
    std::size_t run = 0; // the first byte not yet in the text
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!vwx::IsControlByte(byte)) continue;
        text += Cp1252ToUtf8(bytes.substr(run, i - run));
        constexpr char kHex[] = "0123456789abcdef";
        text += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
        run = i + 1;
    }
    text += Cp1252ToUtf8(bytes.substr(run));
    return text;
}

} // namespace

bool IsSafeExtension(const std::string& storedBytes) {
    const bool control = std::any_of(storedBytes.begin(), storedBytes.end(), [](char c) {
        return vwx::IsControlByte(static_cast<unsigned char>(c));
    });
    return !control && storedBytes != "." && storedBytes != ".." &&
           storedBytes.find(static_cast<char>(vwx::kDirectorySeparator)) == std::string::npos;
}

std::string SafeExtension(const std::string& storedBytes) {
    if (storedBytes.empty()) return {};
    if (!IsSafeExtension(storedBytes))
        Raise({.fault = Fault::StoredExtensionInvalid, .shown = PrintableExtension(storedBytes)});
    std::string extension(1, '.');
    extension += Cp1252ToUtf8(storedBytes);
    return extension;
}

std::string StorableExtension(const std::string& sourcePath) {
    const std::size_t dot = WithoutExtension(sourcePath).size();
    const std::string written = dot < sourcePath.size() ? sourcePath.substr(dot + 1) : "";
    if (const std::string outside = CharactersOutsideCp1252(written); !outside.empty()) {
        Raise({.fault = Fault::ExtensionOutsideCodePage,
               .path = sourcePath,
               .shown = CodePointList(outside)});
    }
    const std::string stored = Utf8ToCp1252(ExtensionOf(sourcePath));
    const bool control = std::any_of(stored.begin(), stored.end(), [](char c) {
        return vwx::IsControlByte(static_cast<unsigned char>(c));
    });
    if (control) {
        Raise({.fault = Fault::ExtensionHasControl,
               .path = sourcePath,
               .shown = PrintableExtension(stored)});
    }
    return stored;
}

bool ReadStoredHead(Cipher& cipher, const std::uint8_t* a, std::size_t size, StoredHead& head) {
    const std::size_t n = cipher.DecryptByte(a[0]);
    if (vwx::FileLength(n, 0, 0) > size) return false;
    // Every header byte is decrypted, in order, to keep the cipher stream in step.
    const std::size_t checks = head.checks.size();
    for (std::size_t i = 1; i < n; ++i) {
        const std::uint8_t b = cipher.DecryptByte(a[i]);
        if (i + checks >= n) head.checks[i + checks - n] = b;
    }
    const std::size_t trailerStart = size - vwx::kCheckValues;
    const std::size_t limit = std::min(trailerStart, vwx::kMaxDataStart);
    std::size_t p = n;
    while (p < limit) {
        const std::uint8_t b = cipher.DecryptByte(a[p++]);
        if (b == vwx::kTerminator) {
            head.dataStart = p;
            return true;
        }
        head.extension.push_back(static_cast<char>(b));
    }
    head.dataStart = p;
    head.failure = Failure{p == trailerStart ? Fault::StoredExtensionUnended : Fault::HeadTooLong};
    return true;
}

} // namespace vw
