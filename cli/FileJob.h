// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One file's job in the direction the command line chose, after the checks every job makes
// first: the password rule, then a source that exists and is not empty.
#include <string>

#include "engine/JobState.h"

namespace vw::cli {

enum class JobKind {
    Protect,
    Restore,
    Test, // a restore that writes nothing
};

// Runs the job and leaves JobStatus and StatusMessage like vw::ProcessFile, which it is when the
// name would choose the same direction; returns the written path, or source on failure or after
// a test.
std::string RunFileJob(JobKind kind, const std::string& source, const std::string& output,
                       const std::string& password, const std::string& privateCode,
                       const Overwrite& overwrite);

} // namespace vw::cli
