// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The secret texts of one vwx run, kept where the run can wipe each as soon as it has served.
#include <functional>
#include <string>

namespace vw::cli {

struct Secrets {
    std::string typed;       // the password as given, UTF-8
    std::string password;    // the password in the code page, which the job keys with
    std::string privateCode; // the stored private crypto code, or ""
};

// Converts typed into password and wipes typed; runs job; then wipes password and privateCode.
// Returns what job returns.
int RunKeyed(Secrets& secrets, const std::function<int(const Secrets&)>& job);

} // namespace vw::cli
