// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exit statuses of vwx besides the job's own status codes (the sysexits values), and the
// refusal that ends a run before its job.
#include <string>

namespace vw::cli {

constexpr int kUsageError = 64;   // EX_USAGE; also: no way to get the password
constexpr int kCannotCreate = 73; // EX_CANTCREAT: the result would replace an existing file

// Why a run ends before its job: the exit status and the message to show.
struct Refusal {
    int status = 0;
    std::string message;
};

} // namespace vw::cli
