// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A job's control in a Qt program: pending events run at its yields (at most every 10 ms, so
// that they cost the job nothing), and progress, the busy pointer and the cancel go where the
// program says.
#include <chrono>
#include <functional>

#include "engine/job/Job.h"

namespace vw {

class QtJobControl : public JobControl {
  public:
    // Called with each new percentage and with the busy state; empty by default.
    std::function<void(int)> onProgress;
    std::function<void(bool)> onBusy;
    // Runs at every yield, after the pending events.
    std::function<void()> onYield;
    // When set, tells whether the job is to stop (besides RequestCancel).
    std::function<bool()> cancelled;
    // Pending events run without the user's input, which waits until the job is over.
    bool holdUserInput = false;

    void Yield() override;
    void Progress(int percent) override;
    void Busy(bool busy) override;
    bool Cancelled() const override;

    // Pending events run at most this often during a job.
    static constexpr std::chrono::milliseconds kEventInterval{10};

  private:
    std::chrono::steady_clock::time_point lastEvents_{};
};

} // namespace vw
