// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CoreDumps.h"

#include <sys/prctl.h>

namespace vw {

bool DisableCoreDumps() {
    return ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0) == 0;
}

} // namespace vw
