// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing whole texts to a file descriptor.
#include <string_view>

namespace vw::cli {

// Writes all of text, going on after interrupted writes unless an interrupt (Ctrl-C) was noted;
// false (errno set) when a write fails or was interrupted so.
bool WriteAll(int fd, std::string_view text);

} // namespace vw::cli
