// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A program started with standard input, output or error closed would hand that number to the
// next file it opens: its messages would then be written into that file, a result or a job's
// temporary file. Called first thing, this puts /dev/null in their place.

namespace vw {

// Opens /dev/null onto each of descriptors 0, 1 and 2 that is closed. False when one stays
// closed.
bool OpenMissingStandardStreams();

} // namespace vw
