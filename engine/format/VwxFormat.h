// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout of the protected file, every field and limit named once. docs/format.md describes
// the format ("The protected file").
#include <cstddef>
#include <cstdint>

namespace vw::vwx {

// Protected files are written with this extension; a path holding the marker's letters, in any
// letter case, is taken for a protected file.
inline constexpr const char* kExtension = ".vwx";
inline constexpr const char* kMarker = "vwx";

// The header: its length n first, then random bytes; its last two bytes are the check values.
// The file ends with the check values again (the trailer).
inline constexpr std::size_t kMinHeaderLength = 32;
inline constexpr std::size_t kMaxHeaderLength = 255;
inline constexpr std::size_t kCheckValues = 2;
// The source's extension follows the header, ended by the terminator; the compressed stream
// follows the terminator.
inline constexpr std::uint8_t kTerminator = 0;
// The data start (header, extension and terminator) is a signed 16-bit offset.
inline constexpr std::size_t kMaxDataStart = 32767;
// Lengths are signed 32-bit: a file of 2 GiB or more is refused.
inline constexpr std::int64_t kMaxFileLength = 0x7FFFFFFF;

// The stored extension becomes part of the restored file's name, so it may not name another
// folder ("." or "..", or hold "/") nor hold a control character: the byte values below 32, 127,
// and the five Windows-1252 bytes without a character of their own, which stand for the C1
// controls of the same value. Protect refuses a source whose extension breaks this rule, restore
// a file that stores one.
inline constexpr std::uint8_t kDirectorySeparator = '/';
constexpr bool IsControlByte(std::uint8_t byte) {
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
           byte == 0x90 || byte == 0x9D;
}

// The length of a protected file with a header of n bytes, an extension of e bytes and a
// compressed stream of m bytes.
constexpr std::uint64_t FileLength(std::uint64_t n, std::uint64_t e, std::uint64_t m) {
    return n + e + sizeof kTerminator + m + kCheckValues;
}

// Whether such a file is short enough to be restored.
constexpr bool FitsTheFormat(std::uint64_t n, std::uint64_t e, std::uint64_t m) {
    return FileLength(n, e, m) <= static_cast<std::uint64_t>(kMaxFileLength);
}

} // namespace vw::vwx
