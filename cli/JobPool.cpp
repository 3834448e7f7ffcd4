// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JobPool.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace vw::cli {

int AvailableProcessors() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) > 0)
        return CPU_COUNT(&allowed);
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

// One job of the pool and its control. The job calls the control on its own thread: progress is
// kept in an atomic for the pool's owner to read, and the cancel is the control's own flag, which
// the owner sets.
class JobPool::Job final : public JobControl {
  public:
    Job(JobPool& pool, std::size_t jobKey, JobRequest request, int processors)
        : key(jobKey), busy(processors), firstProcessor(request.firstProcessor), pool_(pool),
          request_(std::move(request)) {}
    ~Job() override {
        if (thread_.joinable()) thread_.join();
    }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    void Begin() {
        thread_ = std::thread([this] {
            result = RunJob(request_, *this);
            pool_.Ended(*this);
        });
    }
    void Committing() override { pool_.Committing(*this); }
    void Progress(int percent) override {
        percent_.store(percent, std::memory_order_relaxed);
        pool_.Changed();
    }
    int Percent() const { return percent_.load(std::memory_order_relaxed); }
    void Join() { thread_.join(); }

    const std::size_t key;
    const int busy;
    const int firstProcessor;
    JobResult result; // written by the job's thread before it ends, read once it has
    bool ended = false;    // under the pool's lock
    bool released = false; // its processors given back; under the pool's lock

  private:
    JobPool& pool_;
    const JobRequest request_;
    std::atomic<int> percent_{0};
    std::thread thread_;
};

JobPool::JobPool(int budget, int processors)
    : budget_(std::max(budget, 1)), taken_(static_cast<std::size_t>(std::max(processors, 1))) {}

JobPool::~JobPool() {
    CancelAll();
    jobs_.clear(); // each waits for its thread
}

bool JobPool::Fits(int busy, bool alone) const {
    const std::lock_guard lock(mutex_);
    // Jobs that commit hold little memory, but a slow disk could pile them up: as many as the
    // budget at most beside those that work.
    return running_ == 0 || (!alone && busy_ + busy <= budget_ && running_ < 2 * budget_);
}

int JobPool::LeastTakenProcessor(int busy) const {
    const int count = static_cast<int>(taken_.size());
    int best = 0, bestTaken = 0;
    for (int first = 0; first < count; ++first) {
        int taken = 0;
        for (int k = 0; k < busy; ++k)
            taken += taken_[static_cast<std::size_t>((first + k) % count)];
        if (first == 0 || taken < bestTaken) best = first, bestTaken = taken;
    }
    return best;
}

void JobPool::Start(std::size_t key, JobRequest request, int busy) {
    {
        const std::lock_guard lock(mutex_);
        request.firstProcessor = LeastTakenProcessor(busy);
        for (int k = 0; k < busy; ++k)
            ++taken_[static_cast<std::size_t>(request.firstProcessor + k) % taken_.size()];
        busy_ += busy;
        ++running_;
    }
    jobs_.push_back(std::make_unique<Job>(*this, key, std::move(request), busy));
    jobs_.back()->Begin();
}

void JobPool::Release(Job& job) {
    if (job.released) return;
    job.released = true;
    for (int k = 0; k < job.busy; ++k)
        --taken_[static_cast<std::size_t>(job.firstProcessor + k) % taken_.size()];
    busy_ -= job.busy;
}

void JobPool::Committing(Job& job) {
    if (budget_ == 1) return;
    {
        const std::lock_guard lock(mutex_);
        Release(job);
        ++changes_;
    }
    changed_.notify_all();
}

void JobPool::Ended(Job& job) {
    {
        const std::lock_guard lock(mutex_);
        job.ended = true;
        Release(job);
        --running_;
        ++ended_;
        ++changes_;
    }
    changed_.notify_all();
}

void JobPool::Changed() {
    {
        const std::lock_guard lock(mutex_);
        ++changes_;
    }
    changed_.notify_all();
}

std::optional<JobResult> JobPool::TakeResult(std::size_t key) {
    const auto job = std::find_if(jobs_.begin(), jobs_.end(), [&](const auto& j) {
        return j->key == key;
    });
    if (job == jobs_.end()) return std::nullopt;
    {
        const std::lock_guard lock(mutex_);
        if (!(*job)->ended) return std::nullopt;
    }
    (*job)->Join();
    JobResult result = std::move((*job)->result);
    jobs_.erase(job);
    return result;
}

int JobPool::Percent(std::size_t key) const {
    for (const auto& job : jobs_)
        if (job->key == key) return job->Percent();
    return 0;
}

void JobPool::Wait(std::chrono::milliseconds most) {
    std::unique_lock lock(mutex_);
    const std::uint64_t seen = changes_;
    changed_.wait_for(lock, most, [&] { return changes_ != seen; });
}

void JobPool::CancelAll() {
    for (const auto& job : jobs_)
        job->RequestCancel();
}

int JobPool::EndedCount() const {
    const std::lock_guard lock(mutex_);
    return ended_;
}

} // namespace vw::cli
