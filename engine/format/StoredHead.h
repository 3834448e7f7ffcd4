// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The head of a protected file read back: the header, whose last two bytes are the check
// values, and the stored extension, which becomes part of the restored file's name.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "engine/cipher/Cipher.h"
#include "engine/format/VwxFormat.h"
#include "engine/io/Failure.h"

namespace vw {

struct StoredHead {
    std::array<std::uint8_t, vwx::kCheckValues> checks{};
    std::string extension; // as stored, in the code page
    std::size_t dataStart = 0;
    // Why the file cannot be restored, reported only if its check values agree.
    std::optional<Failure> failure;
};

// Decrypts the header and the stored extension from the file's first bytes a[0, size). False
// when the header does not leave room for a terminator and the check values. The terminator
// must come before the check values and within the data start the format allows; without one
// the data is taken to start where the search ended, so that the check values can still be read.
bool ReadStoredHead(Cipher& cipher, const std::uint8_t* a, std::size_t size, StoredHead& head);

// Whether the stored extension can become part of a file name (SafeExtension takes it).
bool IsSafeExtension(const std::string& storedBytes);

// The stored extension as it will become part of a file name, with its dot ("" for none).
// Raises Fault::StoredExtensionInvalid for one that could name another folder ("." or "..", or
// holding "/") or that holds control characters.
std::string SafeExtension(const std::string& storedBytes);

// The extension a protect stores for a source path, in the code page. Raises, before anything
// is read or written, for one that no restore could write back as it is:
// Fault::ExtensionOutsideCodePage for characters the code page cannot store, and
// Fault::ExtensionHasControl for a control character.
std::string StorableExtension(const std::string& sourcePath);

} // namespace vw
