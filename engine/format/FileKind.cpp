// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/format/FileKind.h"

#include <algorithm>
#include <string_view>

#include "engine/format/VwxFormat.h"
#include "engine/io/Paths.h"

namespace vw {

FileKind DetectFileKind(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::string_view marker = vwx::kMarker;
    const auto sameLetter = [](char c, char lower) { return (c | 0x20) == lower; };
    const bool marked = std::search(name.begin(), name.end(), marker.begin(), marker.end(),
                                    sameLetter) != name.end();
    return marked ? FileKind::Protected : FileKind::Plain;
}

} // namespace vw
