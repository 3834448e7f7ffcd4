// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the process out of core dumps: a dump taken during a job would hold the password and
// the private code in plain text.

namespace vw {

// Marks the process non-dumpable (no core file, no attaching by other processes of the same
// user). True when the system accepted it.
bool DisableCoreDumps();

} // namespace vw
