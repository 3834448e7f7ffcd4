// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Secrets.h"

#include "engine/io/Bytes.h"
#include "engine/text/Cp1252.h"

namespace vw::cli {

int RunKeyed(Secrets& secrets, const std::function<int(const Secrets&)>& job) {
    std::string converted = Utf8ToCp1252(secrets.typed);
    secrets.password.swap(converted); // no copy of the password is left behind
    SecureWipe(secrets.typed);
    const int result = job(secrets);
    SecureWipe(secrets.password);
    SecureWipe(secrets.privateCode);
    return result;
}

} // namespace vw::cli
