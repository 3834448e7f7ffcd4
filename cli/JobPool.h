// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The jobs of one vwx run, several at once, each on a thread of its own. A job starts only while
// the processors it keeps busy (ProcessorsBusy), added to those of the jobs running, stay within
// the run's budget, or when no job runs; its busiest threads keep to the processors the running
// jobs take least. A job that commits its result, waiting on the disk, keeps none busy any more
// (unless the budget is one: then the jobs run strictly one after the other). The jobs tell their progress and their end to the thread that owns the pool,
// which alone draws and reports; a cancel reaches every running job at its next yield.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "engine/job/Job.h"

namespace vw::cli {

// The processors this process may run on.
int AvailableProcessors();

class JobPool {
  public:
    // budget: the processors the jobs may keep busy together; processors: those there are, to
    // spread the jobs' threads over.
    JobPool(int budget, int processors);
    // Cancels the jobs still running and waits for them.
    ~JobPool();
    JobPool(const JobPool&) = delete;
    JobPool& operator=(const JobPool&) = delete;

    // Whether a job keeping `busy` processors may start now; one that must run alone starts only
    // when no job runs.
    bool Fits(int busy, bool alone) const;
    // Starts a job under a key of the caller's (the file's index), with its request's
    // firstProcessor chosen here.
    void Start(std::size_t key, JobRequest request, int busy);
    // The result of the job under key, once it has ended; taken only once.
    std::optional<JobResult> TakeResult(std::size_t key);
    // The percentage the job under key last told; 0 before it told one or once taken.
    int Percent(std::size_t key) const;
    // Waits until a job ends or tells progress, or for `most` at the longest.
    void Wait(std::chrono::milliseconds most);
    // Asks every running job to stop.
    void CancelAll();
    // How many jobs have ended so far.
    int EndedCount() const;

  private:
    class Job;
    // From a job's thread: it commits its result, it ended, or it told progress.
    void Committing(Job& job);
    void Ended(Job& job);
    void Changed();
    // Gives back the processors of the job, once; under the lock.
    void Release(Job& job);
    int LeastTakenProcessor(int busy) const;

    const int budget_;
    std::vector<int> taken_; // busy threads of the running jobs on each processor
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t changes_ = 0;
    int busy_ = 0; // processors the running jobs keep busy
    int running_ = 0;
    int ended_ = 0;
    std::vector<std::unique_ptr<Job>> jobs_;
};

} // namespace vw::cli
