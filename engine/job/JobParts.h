// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the kinds of job share while they run: how a job ends early, its progress, the busy
// pointer, following its worker threads, and the rules for the file it writes.
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "engine/io/FileIO.h"
#include "engine/job/Job.h"

namespace vw::stream {
class Workers;
}

namespace vw::job {

// How a job ends early without a failure: cancelled (11, 21), a wrong password (23), a checksum
// that differs (5). Raised where the job decides it, caught where the job ends.
struct Ended {
    std::int16_t status;
};
[[noreturn]] inline void End(std::int16_t status) {
    throw Ended{status};
}

// The one mapping from a job's passes to the progress bar. A protect reads its source twice:
// counting its bytes takes 0 to 6 percent, coding and encrypting it (one pass, on two threads)
// 6 to 99. A restore is one pass, decrypting and decoding on two threads, 0 to 99. 100 comes
// once the result is complete. The bar only moves on: a figure is shown only when its whole
// percentage is higher than the last one.
class ProgressMeter {
  public:
    enum class Pass { Count, Code, Restore };
    explicit ProgressMeter(JobControl& control) : control_(control) {}
    void Show(Pass pass, std::uint64_t done, std::uint64_t total);
    void Complete() { Send(100); }

  private:
    void Send(int percent);
    JobControl& control_;
    int shown_ = 0;
};

// Shows the busy pointer for a scope.
class BusyPointer {
  public:
    explicit BusyPointer(JobControl& control) : control_(control) { control_.Busy(true); }
    ~BusyPointer() { control_.Busy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

  private:
    JobControl& control_;
};

// Waits while the workers run until done() holds, yielding to the control at least every few
// milliseconds and whenever the workers publish progress, and showing it with show(); ends the
// job with cancelStatus when the control cancels it, and raises a worker's failure.
void Follow(stream::Workers& workers, JobControl& control, std::int16_t cancelStatus,
            const std::function<bool()>& done, const std::function<void()>& show);

// Clears the leftovers of killed jobs from the folder of the job's result, just before the job
// opens its own temporary file there: through the run's sweep when the request shares one, else
// by a scan of its own that keeps the job's source.
void ClearLeftovers(const JobRequest& request, const std::string& resultPath, std::time_t jobStart);

// Raises Fault::SourceTooLarge for a file of 2 GiB or more.
void CheckFileLength(std::int64_t length, const std::string& path);

// The rules for the file a job writes (its result) and the source it may replace.
class ResultFile {
  public:
    ResultFile(const JobRequest& request, std::string path) : request_(request), path_(path) {}
    const std::string& Path() const { return path_; }
    // Whether the result may take the place of a file already at its path: always when allowed,
    // the source itself when the caller chose the source as the output path, and the confirmed
    // path.
    bool MayReplace() const;
    // Raises Fault::OutputExists when something sits at the path that may not be replaced.
    void ExpectFree() const;
    // How every file job ends once its result is complete under a temporary name: under the
    // busy pointer, and only while the source is still the file the job read, `commit` renames
    // the result into place (given the source's permissions and whether it may replace a
    // file); then the source is deleted when it was chosen as the output path.
    void Finish(JobControl& control, const ChunkReader::Stamp& source,
                const std::function<void(unsigned mode, bool replace)>& commit) const;

  private:
    const JobRequest& request_;
    std::string path_;
};

// The kinds' work, each filling the result: Protect, then the restoring kinds (Restore, Test,
// RestoreToMemory).
void ProtectFile(const JobRequest& request, JobControl& control, JobResult& result);
void RestoreFile(const JobRequest& request, JobControl& control, JobResult& result);
// The path a restore would write (ResultPathOf), read from the file's head.
std::string RestoredPathOf(const JobRequest& request);

// A job on bytes in memory (MemoryJobs.h): the checks a job makes first (the password rule, some
// bytes to work on), then `work`, its failures turned into the result with failureStatus.
JobResult RunInMemory(const JobRequest& keys, std::size_t size, std::int16_t failureStatus,
                      const std::function<void()>& work);

} // namespace vw::job
