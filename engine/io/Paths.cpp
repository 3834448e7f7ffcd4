// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/io/Paths.h"

#include <sys/stat.h>

#include "engine/text/Cp1252.h"

namespace vw {
namespace {

// Index of the dot that starts the extension of the last path element, or npos. A name whose
// only dot is its first character (".profile") is all stem: it has no extension.
std::string::size_type ExtensionDot(const std::string& path) {
    const auto slash = path.rfind('/');
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return std::string::npos; // a folder's dot
    if (dot == nameStart) return std::string::npos;
    return dot;
}

} // namespace

std::string ExtensionOf(const std::string& path) {
    const auto dot = ExtensionDot(path);
    if (dot == std::string::npos || dot + 1 == path.size()) return {};
    std::string bytes = Utf8ToCp1252(path.substr(dot + 1));
    for (char& c : bytes)
        c = static_cast<char>(Cp1252ToLower(static_cast<unsigned char>(c)));
    return Cp1252ToUtf8(bytes);
}

std::string WithoutExtension(const std::string& path) {
    const auto dot = ExtensionDot(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos || slash == 0) return {};
    return path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::int64_t FileLength(const std::string& path) {
    struct stat st {};
    if (path.empty() || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<std::int64_t>(st.st_size);
}

bool FileExists(const std::string& path) {
    return FileLength(path) >= 0;
}

} // namespace vw
