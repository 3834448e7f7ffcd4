// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/JobStage.h"

#include <algorithm>

#include "engine/JobState.h"

namespace vw::stream {

bool YieldReplay::Upto(std::uint64_t processed) {
    for (; next_ < processed; next_ += interval_) {
        if (!YieldPoint(percent_(static_cast<double>(next_)))) return false;
    }
    return true;
}

bool FollowStage(Workers& workers, const std::atomic<std::uint64_t>& done, std::uint64_t total,
                 YieldReplay& replay, const std::atomic<bool>* ended) {
    auto isOver = [ended] { return ended && ended->load(std::memory_order_acquire); };
    for (;;) {
        const bool over = isOver(); // read first: once set, `done` has its last value
        const std::uint64_t seen = done.load(std::memory_order_acquire);
        if (!replay.Upto(std::min(seen, total))) return false;
        if (seen >= total || over) return true;
        workers.WaitUntil([&] { return done.load(std::memory_order_acquire) != seen || isOver(); });
        workers.RaiseIfFailed();
    }
}

void WaitFor(Workers& workers, const std::atomic<bool>& flag) {
    workers.WaitUntil([&] { return flag.load(std::memory_order_acquire); });
    workers.RaiseIfFailed();
}

} // namespace vw::stream
