// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Following, on the calling (user-interface) thread, a stage of a job that worker threads run.
// Only the calling thread passes yield points: the workers publish how far they are, and the
// calling thread replays the stage's yield points from that, with the stage's own indices and
// percentages, as if it ran the loop itself.
#include <atomic>
#include <cstdint>
#include <functional>
#include <limits>
#include <utility>

#include "engine/StreamPipeline.h"

namespace vw::stream {

// The yield points of one stage: after element i for every multiple i of the interval.
class YieldReplay {
  public:
    YieldReplay(std::uint64_t interval, std::function<double(double)> percent)
        : interval_(interval), percent_(std::move(percent)) {}
    // Passes the yield points of the elements before `processed`; false when cancelled.
    bool Upto(std::uint64_t processed);

  private:
    std::uint64_t interval_;
    std::function<double(double)> percent_;
    std::uint64_t next_ = 0;
};

inline constexpr std::uint64_t kUnknownTotal = std::numeric_limits<std::uint64_t>::max();

// Waits while workers run a stage, replaying its yield points as the workers' count `done`
// moves, until it reaches `total`, or, for a stage whose total is not known in advance, until
// the workers set `ended`. False when cancelled; raises a worker's failure.
bool FollowStage(Workers& workers, const std::atomic<std::uint64_t>& done, std::uint64_t total,
                 YieldReplay& replay, const std::atomic<bool>* ended = nullptr);

// Waits for a worker's flag; raises a worker's failure.
void WaitFor(Workers& workers, const std::atomic<bool>& flag);

} // namespace vw::stream
