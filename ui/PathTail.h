// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File types are told by the last four characters of a path, upper-cased (".JPG", "JPEG").
#include <QString>

namespace vw::ui {

inline QString PathTail(const QString& path) {
    return path.right(4).toUpper();
}

} // namespace vw::ui
