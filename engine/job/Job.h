// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One job on one file, as a value: a request in, a control the caller passes in, a result out.
// Protecting, restoring, testing a protected file and restoring it into memory are its four
// kinds. A job owns everything it works with (its cipher, its buffers, its threads), and
// nothing of it outlives the call: two jobs may run at once.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/cipher/KeyText.h"
#include "engine/io/Failure.h"
#include "engine/io/SecureBytes.h"
#include "engine/job/StatusCodes.h"

namespace vw {

class EntropyPool;
class LeftoverSweep;

enum class JobKind {
    Protect,
    Restore,
    Test,            // a restore that writes nothing anywhere
    RestoreToMemory, // a restore into the request's memory, never to disk
};

// Which existing file a job's result may replace.
struct Overwrite {
    enum Mode : std::int16_t {
        // Any (the caller asked the user first).
        Allowed,
        // None: the job fails with Fault::OutputExists and nothing is written. Only the source
        // itself may be replaced, when the caller passed the source as the output path (it asked
        // for the result to replace the source), and the confirmed path, when there is one.
        Refused,
    };
    // NOLINTNEXTLINE(google-explicit-constructor): a mode alone is the common case
    Overwrite(Mode m = Refused, std::string path = {}) : mode(m), confirmed(std::move(path)) {}
    // Refused, but for the one path the user confirmed to be replaced.
    static Overwrite OnlyConfirmed(std::string path) { return {Refused, std::move(path)}; }

    Mode mode;
    std::string confirmed;
};

// What the caller gives a job to work with while it runs. The job calls it on the thread that
// runs the job; RequestCancel may come from any thread.
class JobControl {
  public:
    virtual ~JobControl() = default;
    // Called while the job runs, at least every few milliseconds: the desktop program runs its
    // pending events here.
    virtual void Yield() {}
    // A whole percentage of the job, 1 to 100, each higher than the one before.
    virtual void Progress(int percent) { (void)percent; }
    // True while the job opens or commits a whole file (the busy pointer).
    virtual void Busy(bool busy) { (void)busy; }
    // The job's worker threads have ended; what is left is to make its result last and put it
    // in place, which mostly waits on the disk. A caller running several jobs may start another.
    virtual void Committing() {}
    // Whether the job is to stop: it then ends with 11 or 21 at its next yield, having written
    // nothing.
    virtual bool Cancelled() const { return cancel_.load(std::memory_order_relaxed); }
    void RequestCancel() { cancel_.store(true, std::memory_order_relaxed); }

  private:
    std::atomic<bool> cancel_{false};
};

struct JobRequest {
    JobKind kind = JobKind::Protect;
    std::string source;  // UTF-8 path
    std::string output;  // the result's path, its extension replaced (Protect, Restore)
    KeyText password;    // code-page bytes
    KeyText privateCode; // code-page bytes, empty for none
    Overwrite overwrite = {};
    // RestoreToMemory: where the restored bytes go, and the most that may be kept. Of a file
    // over the limit only its first bytes are kept (at most 64 KiB, enough to tell its type).
    SecureBytes* memory = nullptr;
    std::size_t memoryLimit = 0;
    // Protect: what is mixed into the random header (the desktop program's mouse movements);
    // or, when set, where the header comes from instead (a test's fixed header).
    const EntropyPool* entropy = nullptr;
    std::function<std::string()> header;
    // Called last by every worker thread of the job (a test makes workers end late).
    std::function<void()> workerEnding;
    // Protect, Restore: the cleanup of leftovers shared by the jobs of one run, which scans each
    // folder once; without one the job clears its result's folder itself.
    LeftoverSweep* leftovers = nullptr;
    // The processor the job's first worker keeps to, the others following in turn: jobs that run
    // at once start theirs on different processors, so that their busiest threads do not share
    // one.
    int firstProcessor = 0;
};

struct JobResult {
    std::int16_t status = kStatusOk;
    Failure failure;       // what failed, with status 12 or 22
    std::string written;   // the path the job wrote, "" when it wrote none
    std::string extension; // a restore's stored extension, in the code page
    bool Ok() const { return status == kStatusOk; }
};

// Runs the job: the password rule, then the source's existence and length, then the work of its
// kind; every failure ends up in the result.
JobResult RunJob(const JobRequest& request, JobControl& control);

// How many processors a job keeps busy, for a caller that runs several at once: a protect one (its
// coder mostly waits on its cipher, whose every byte waits for the one before), a restore or
// test two once its file spans more than one piece (the two halves of the decryption then run
// side by side), one for a shorter file (they take turns).
int ProcessorsBusy(JobKind kind, std::int64_t sourceBytes);

// The path a protect or restore would write, told before it runs, so that the caller can ask
// before a file there is replaced; a restore's is read with the request's keys from the file's
// stored extension. "" when it cannot be told.
std::string ResultPathOf(const JobRequest& request);

} // namespace vw
