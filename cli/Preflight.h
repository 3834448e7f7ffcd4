// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The checks vwx makes before it asks for a password, so a job that cannot succeed stops
// before anyone types anything.
#include <optional>
#include <string>

#include "cli/Arguments.h"
#include "cli/ExitStatus.h"

namespace vw::cli {

// Why the job cannot run: an output path that is a folder, or a source that is missing or not a
// regular file (a link to one will do). Where its result may go is ResultPlan's to decide.
std::optional<Refusal> Preflight(const Options& options);

} // namespace vw::cli
