// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The processing driver as the desktop program uses it, under the names it has always read:
// ProcessFile runs one job on the selected file and leaves its outcome in the job state below,
// where the progress dialog finds it. The engine keeps no state of its own; this is the one
// place that does, for the one job the desktop program runs at a time, on its user-interface
// thread.
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/format/FileKind.h"
#include "engine/format/RandomHeader.h"
#include "engine/job/Job.h"

namespace vw {

// The last job's status code, its message and the description of its failure, in the program's
// language; the existing file it refused to replace (or "").
extern std::int16_t JobStatus;
extern std::string StatusMessage;
extern std::string ErrorDescription;
extern std::string ExistingOutputPath;
// Set by the progress dialog's Cancel button; the running job stops at its next yield.
extern std::atomic<bool> CancelRequested;
// The whole percentage last sent to the progress bar by the running job.
extern std::int16_t LastProgress;

// Where the running job's progress and busy pointer go (the progress dialog's bar, the
// program's cursor); nothing until the program says.
void SetJobDisplay(std::function<void(int)> bar, std::function<void(bool)> busy);

// Runs one job: checks the password and the source, then protects or restores by the path's
// kind. Leaves the job state; returns the written path, or sourcePath when the job failed.
// Keys are code-page bytes; the result replaces only what overwrite allows.
std::string ProcessFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        const Overwrite& overwrite = Overwrite::Allowed);

// The path ProcessFile would write for these arguments, told before it runs ("" when it cannot
// be told), so that the user can be asked before a file there is replaced.
std::string ResultPathFor(const std::string& sourcePath, const std::string& outputPath,
                          const std::string& password, const std::string& privateCode);

// Sends a percentage to the progress bar: above 100 becomes 100, 0 changes nothing.
void ReportProgress(double percent);
// Sets StatusMessage from JobStatus (and ErrorDescription for 12 and 22); codes outside the
// status table leave it unchanged.
void SetStatusMessage();

// The pool that mouse movement over the main window's panel feeds, mixed into every random
// header the program's protects draw.
EntropyPool& ProgramEntropy();
void AddMouseEntropy(float x, float y);

} // namespace vw
