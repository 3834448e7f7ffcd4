// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whether a path names a protected file: by its name alone, since the format has no signature.
#include <cstdint>
#include <string>

namespace vw {

enum class FileKind : std::int16_t { Plain = 0, Protected = 1, Unknown = 2 };

// Protected when the file name contains "vwx" (any letter case), Plain otherwise.
FileKind DetectFileKind(const std::string& path);

} // namespace vw
