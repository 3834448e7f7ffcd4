// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small path functions. Paths are UTF-8 text with "/" as the separator.
#include <cstdint>
#include <string>

namespace vw {

// The extension of the last path element, lower case, without the dot; "" when the name has
// no dot, ends in one, or has its only dot first (".profile").
std::string ExtensionOf(const std::string& path);
// The path without the extension of its last element and without that dot.
std::string WithoutExtension(const std::string& path);
// The folder part, ending with "/"; "" when the path has no "/" or only a leading one.
std::string FolderOf(const std::string& path);
// The text after the last "/".
std::string FileNameOf(const std::string& path);
// True when the path names a regular file whose length can be read.
bool FileExists(const std::string& path);
// The length of a regular file, or -1 when it cannot be read.
std::int64_t FileLength(const std::string& path);

} // namespace vw
