// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How vwx tells what happened: written paths and a test's lines on standard output, failures on
// standard error (a test's in its lines), every text with its control characters escaped.
#include <string>

#include "cli/Arguments.h"
#include "cli/ExitStatus.h"
#include "engine/job/Job.h"

namespace vw::cli {

class ResultPlan;

// A message on standard error, after "vwx: ".
void Complain(const std::string& message);
// Tells why the run ends, with the usage line after a usage error; returns the exit status.
int Tell(const Refusal& refusal);
// Prints on standard output; a failure is reported once, and the status stays.
int Print(const std::string& text, int status);
// Tells why a file failed: on standard output in a test's "FILE: reason" line, else on
// standard error, after the file's name when the run has more than one. Returns the status.
int Fail(const Options& options, const std::string& file, const Refusal& refusal);
// How a finished job ends: its result's path (or a test's "ok") printed, or why it failed.
int Report(const Options& options, const Options& one, const JobResult& result,
           const ResultPlan& results);

} // namespace vw::cli
