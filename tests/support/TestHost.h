#pragma once
// A host for engine tests: records every progress value, counts event-processing calls and can
// request a cancel on a chosen call, the way the progress dialog's Cancel button would, or act
// on the files while the job runs, the way another program would.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "engine/Host.h"
#include "engine/JobState.h"

namespace vw::test {

class TestHost : public Host {
  public:
    // cancelAtCall: CancelRequested is set during the k-th ProcessEvents call (1 = the first);
    // 0 never cancels.
    explicit TestHost(int cancelAtCall = 0) : cancelAtCall_(cancelAtCall) {}

    void ProcessEvents() override {
        ++eventCalls;
        if (cancelAtCall_ > 0 && eventCalls == cancelAtCall_) CancelRequested = true;
        if (act) act();
    }
    void ShowProgress(int percent) override {
        progress.push_back(percent);
        if (act) act();
    }
    void SetBusy(bool busy) override {
        busyCalls.push_back(busy);
        if (act) act();
    }
    std::string ReadSetting(const std::string& key, const std::string& defaultValue) override {
        for (const auto& [k, v] : settings) {
            if (k == key) return v;
        }
        return defaultValue;
    }
    std::string ComputerName() override { return computerName; }

    void CancelAt(int call) { cancelAtCall_ = call; }

    int eventCalls = 0;
    std::vector<int> progress;
    std::vector<bool> busyCalls;
    std::vector<std::pair<std::string, std::string>> settings;
    std::string computerName;
    // Runs after each of the three calls above is recorded; it looks at the records to choose
    // its moment.
    std::function<void()> act;

  private:
    int cancelAtCall_;
};

// Installs a TestHost for a test's scope and resets the job state the engine reads.
class ScopedTestHost {
  public:
    explicit ScopedTestHost(int cancelAtCall = 0) : host(cancelAtCall), scope_(host) {
        CancelRequested = false;
        LastProgress = 0;
        JobStatus = 0;
    }
    ~ScopedTestHost() { CancelRequested = false; }
    ScopedTestHost(const ScopedTestHost&) = delete;
    ScopedTestHost& operator=(const ScopedTestHost&) = delete;

    TestHost host;

  private:
    ScopedHost scope_;
};

} // namespace vw::test
