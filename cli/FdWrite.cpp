// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FdWrite.h"

#include "cli/PasswordInput.h"

#include <cerrno>
#include <unistd.h>

namespace vw::cli {

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR && !Interrupted) continue; // Ctrl-C ends a blocked write
        if (n < 0) return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace vw::cli
