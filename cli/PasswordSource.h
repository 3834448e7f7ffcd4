// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which password a run uses: the password file's first line, else VWX_PASSWORD, else what is
// typed on the terminal.
#include <optional>
#include <string>

#include "cli/Arguments.h"
#include "cli/ExitStatus.h"

namespace vw::cli {

constexpr const char* kPasswordVariable = "VWX_PASSWORD";

// Fills typed with the password as given (UTF-8), asked twice on the terminal when protecting.
// Returns why there is no usable password, with typed left empty, or nothing.
std::optional<Refusal> ObtainPassword(const Options& options, bool protecting, std::string& typed);

// The warning for a password longer than the part that keys the cipher (the rest adds nothing,
// but files may have been protected with it, so it is never refused); "" for any other.
std::string LongPasswordWarning(const std::string& typed);

} // namespace vw::cli
