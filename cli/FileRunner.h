// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the planned files of one vwx run, several at once within the processors allowed (-j).
// Every result was decided, and so reserved, before the first job starts (ResultPlan). Jobs
// start in the files' order; each file's result or failure is told in that order however the
// jobs end; an interrupt cancels every running job, which writes nothing, and starts no further
// file. Run one at a time, as with -j 1, it does what running them one after the other did.
#include <cstdint>
#include <functional>
#include <vector>

#include "cli/FilePlan.h"
#include "cli/JobPool.h"
#include "cli/ProgressBar.h"
#include "engine/io/Leftovers.h"

namespace vw::cli {

class FileRunner {
  public:
    // statuses: each file's, filled as the files are told. columns: the terminal's width.
    FileRunner(const Options& options, std::vector<FilePlan>& plans, ResultPlan& results,
               const Secrets& keys, std::vector<int>& statuses, std::function<int()> columns);
    void Run();

  private:
    // Starts, in the files' order, the jobs that fit beside the running ones.
    void StartWhatFits();
    // Tells, in the files' order, the files whose jobs have ended; true once all are told.
    bool TellWhatEnded();
    // Tells one file, whose job ran or not; false when its job is still running.
    bool Tell(std::size_t i);
    void ShowProgress();

    const Options& options_;
    std::vector<FilePlan>& plans_;
    ResultPlan& results_;
    const Secrets& keys_;
    std::vector<int>& statuses_;
    std::vector<std::int64_t> bytes_; // of the files whose job started
    JobPool pool_;
    LeftoverSweep leftovers_;
    const bool oneAtATime_; // per-file progress lines
    ProgressBar fileBar_;
    RunProgressLine runLine_;
    std::size_t next_ = 0;  // the next file to start
    std::size_t last_ = 0;  // the last file started
    std::size_t told_ = 0;  // the files told so far
    std::int64_t bytesDone_ = 0; // of the files told
    bool cancelTold_ = false;
};

} // namespace vw::cli
