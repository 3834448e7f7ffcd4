// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/format/StoredHead.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "engine/io/Bytes.h"
#include "engine/io/Paths.h"
#include "engine/text/Cp1252.h"

namespace vw {
namespace {

// The stored extension for a message, its control characters written as \xHH. Those escapes
// are ASCII, the same in the code page and in UTF-8, so the escaped bytes are converted whole,
// once: a damaged file can store thousands.
std::string PrintableExtension(const std::string& storedBytes) {
    std::string escaped(4 * storedBytes.size(), '\0');
    char* at = escaped.data();
    for (const char c : storedBytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (!vwx::IsControlByte(byte)) {
            *at++ = c;
            continue;
        }
        constexpr char kHex[] = "0123456789abcdef";
        *at++ = '\\';
        *at++ = 'x';
        *at++ = kHex[byte >> 4];
        *at++ = kHex[byte & 15];
    }
    escaped.resize(static_cast<std::size_t>(at - escaped.data()));
    return Cp1252ToUtf8(escaped);
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
    // Every header byte is decrypted, in order, to keep the cipher stream in step; a run at a
    // time, since a byte on its own costs a whole step of the encrypting loop.
    std::array<std::uint8_t, 256> run;
    if (n > 1) {
        std::memcpy(run.data(), a + 1, n - 1);
        cipher.DecryptBlock(run.data(), n - 1);
    }
    for (std::size_t k = 0; k < head.checks.size(); ++k) {
        const std::size_t at = n + k - head.checks.size(); // wraps below 0 when n < 2
        if (at >= 1 && at < n) head.checks[k] = run[at - 1];
    }
    // The extension up to its terminator: byte by byte while it is as short as extensions are,
    // then a run at a time. A run that holds the terminator is decrypted again from its start,
    // by a copy of the cipher kept from there, only up to the terminator, so that the cipher
    // stops exactly where the data starts.
    const std::size_t trailerStart = size - vwx::kCheckValues;
    const std::size_t limit = std::min(trailerStart, vwx::kMaxDataStart);
    std::size_t p = n;
    for (const std::size_t bytewise = std::min(limit, n + 32); p < bytewise;) {
        const std::uint8_t b = cipher.DecryptByte(a[p++]);
        if (b == vwx::kTerminator) {
            head.dataStart = p;
            return true;
        }
        head.extension.push_back(static_cast<char>(b));
    }
    while (p < limit) {
        const std::size_t count = std::min(run.size(), limit - p);
        const Cipher atRun = cipher;
        std::memcpy(run.data(), a + p, count);
        cipher.DecryptBlock(run.data(), count);
        const auto* end =
            static_cast<const std::uint8_t*>(std::memchr(run.data(), vwx::kTerminator, count));
        const std::size_t kept = end ? static_cast<std::size_t>(end - run.data()) : count;
        head.extension.append(reinterpret_cast<const char*>(run.data()), kept);
        if (end) {
            cipher = atRun;
            std::memcpy(run.data(), a + p, kept + 1);
            cipher.DecryptBlock(run.data(), kept + 1);
            head.dataStart = p + kept + 1;
            return true;
        }
        p += count;
    }
    head.dataStart = p;
    head.failure = Failure{p == trailerStart ? Fault::StoredExtensionUnended : Fault::HeadTooLong};
    return true;
}

} // namespace vw
