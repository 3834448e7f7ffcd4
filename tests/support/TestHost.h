// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What engine tests give the engine: a job control that records what the job reports, cancels at
// a chosen yield and runs `act` at each yield (another program acting on the files meanwhile);
// and a host with settings and a computer name of the test's choosing.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/io/Host.h"
#include "engine/job/Job.h"

namespace vw::test {

class TestControl : public JobControl {
  public:
    void Yield() override {
        if (++yields == cancelAt) cancelled = true;
        if (act) act();
    }
    bool Cancelled() const override { return cancelled; }
    void Progress(int percent) override {
        progress.push_back(percent);
        if (act) act();
    }
    void Busy(bool busy) override {
        busyCalls.push_back(busy);
        if (act) act();
    }
    void Clear() { yields = 0, cancelled = false, progress.clear(), busyCalls.clear(); }

    int yields = 0;
    int cancelAt = 0; // the yield (counted from 1) that cancels; 0 never cancels
    bool cancelled = false;
    std::vector<int> progress;
    std::vector<bool> busyCalls;
    std::function<void()> act;
};

class TestHost : public Host {
  public:
    std::string ReadSetting(const std::string& key, const std::string& defaultValue) override {
        for (const auto& [k, v] : settings)
            if (k == key) return v;
        return defaultValue;
    }
    std::string ComputerName() override { return computerName; }

    std::vector<std::pair<std::string, std::string>> settings;
    std::string computerName;
};

} // namespace vw::test
