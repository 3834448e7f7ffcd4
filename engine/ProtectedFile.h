// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The protected file's two procedures: ProtectFile writes a ".vwx" file, RestoreFile reads one
// back. The format is in VwxFormat.h, the random header in RandomHeader.h.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/JobState.h"
#include "engine/RandomHeader.h"
#include "engine/SecureBytes.h"

namespace vw {

// Both take UTF-8 paths and single-byte code-page key texts, and return the path written, or
// sourcePath when the job stopped (JobStatus tells why: 11 or 21 when cancelled, 12 or 22 for a
// run-time failure, described by ErrorDescription).
std::string ProtectFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        const Overwrite& overwrite = Overwrite::Allowed);
std::string RestoreFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        const Overwrite& overwrite = Overwrite::Allowed);

// The path a restore of sourcePath into outputPath would write: the output path with the
// extension stored in the file, read with the password and private code (nothing else of the
// file is checked). "" when the head cannot be read or names no extension a file could take.
std::string RestoredPathFor(const std::string& sourcePath, const std::string& outputPath,
                            const std::string& password, const std::string& privateCode);

// A restore that writes nothing anywhere: the password, the check values, the decoding and the
// checksum are all tried, and JobStatus and ErrorDescription are left as RestoreFile leaves them.
// Returns JobStatus.
std::int16_t TestProtectedFile(const std::string& sourcePath, const std::string& password,
                               const std::string& privateCode);

// A file restored into memory.
struct RestoredBytes {
    std::string extension; // as stored: without the dot, in the code page
    SecureBytes bytes;
    // The restored length is over the limit: refused before decoding the rest, with status 22
    // and ErrorDescription telling both lengths; bytes then holds the file's first bytes (at
    // most MemorySink::kKeptOfRefused), enough to tell what kind of file it is.
    bool tooLarge = false;
};

// A restore into memory, never to disk, of at most `limit` bytes. Leaves JobStatus and
// ErrorDescription as RestoreFile does and returns JobStatus; the bytes are kept only with 0,
// or the first ones when the file is too large.
std::int16_t RestoreIntoMemory(const std::string& sourcePath, const std::string& password,
                               const std::string& privateCode, std::size_t limit,
                               RestoredBytes& out);

} // namespace vw
