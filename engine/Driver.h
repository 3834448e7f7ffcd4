// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The single entry through which the user interface and the CLI run a job.
#include <cstdint>
#include <functional>
#include <string>

#include "engine/JobState.h"
#include "engine/PasswordRules.h"

namespace vw {

enum class FileKind : std::int16_t { Plain = 0, Protected = 1, Unknown = 2 };

// Runs one job: checks the password and the source, then protects or restores by the path's
// kind. Leaves JobStatus and StatusMessage; returns the written path, or sourcePath on failure.
std::string ProcessFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        const Overwrite& overwrite = Overwrite::Allowed);

// What ProcessFile does around every job, for other procedures on a source (TestProtectedFile,
// RestoreIntoMemory): clears the job state, checks the password rule and the source, runs `job`
// only when they pass, and leaves StatusMessage. Returns JobStatus.
std::int16_t RunChecked(const std::string& sourcePath, const std::string& password,
                        const std::function<void()>& job);

// The path a job on sourcePath with outputPath would write (as ProcessFile decides the
// direction), so that a caller can ask before it is replaced; "" when it cannot be told.
std::string ResultPathFor(const std::string& sourcePath, const std::string& outputPath,
                          const std::string& password, const std::string& privateCode);

// Protected when the file name contains "vwx" (any letter case), Plain otherwise.
FileKind DetectFileKind(const std::string& path);

} // namespace vw
