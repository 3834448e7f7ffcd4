// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A host for engine tests: records what the engine reports, cancels at a chosen event call and
// runs `act` after each record (another program acting on the files meanwhile).
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/Host.h"
#include "engine/JobState.h"

namespace vw::test {

class TestHost : public Host {
  public:
    // cancelAtCall: the event call (counted from 1) that cancels; 0 never cancels.
    explicit TestHost(int cancelAtCall = 0) : cancelAtCall_(cancelAtCall) {}
    void ProcessEvents() override {
        if (++eventCalls == cancelAtCall_) CancelRequested = true;
        Act();
    }
    void ShowProgress(int percent) override { progress.push_back(percent), Act(); }
    void SetBusy(bool busy) override { busyCalls.push_back(busy), Act(); }
    std::string ReadSetting(const std::string& key, const std::string& defaultValue) override {
        for (const auto& [k, v] : settings)
            if (k == key) return v;
        return defaultValue;
    }
    std::string ComputerName() override { return computerName; }
    void CancelAt(int call) { cancelAtCall_ = call; }

    int eventCalls = 0;
    std::vector<int> progress;
    std::vector<bool> busyCalls;
    std::vector<std::pair<std::string, std::string>> settings;
    std::string computerName;
    std::function<void()> act;

  private:
    void Act() const { act ? act() : void(); }
    int cancelAtCall_;
};

// Installs a TestHost for a scope and resets the job state the engine reads.
class ScopedTestHost {
  public:
    explicit ScopedTestHost(int cancelAtCall = 0) : host(cancelAtCall), scope_(host) {
        CancelRequested = false;
        LastProgress = JobStatus = 0;
    }
    ~ScopedTestHost() { CancelRequested = false; } // not copied: ScopedHost is not

    TestHost host;

  private:
    ScopedHost scope_;
};

} // namespace vw::test
