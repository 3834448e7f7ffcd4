// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/job/Job.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <new>

#include "engine/format/FileKind.h"
#include "engine/format/VwxFormat.h"
#include "engine/io/Paths.h"
#include "engine/job/JobParts.h"
#include "engine/job/StreamPipeline.h"
#include "engine/text/PasswordRules.h"

namespace vw {
namespace job {
namespace {

using Stamp = ChunkReader::Stamp;

// How long a job waits for its workers before it yields to its control again.
constexpr auto kYieldInterval = std::chrono::milliseconds(10);

// The job's work, every failure raised inside it turned into the result with failureStatus.
void RunGuarded(std::int16_t failureStatus, JobResult& result, const std::function<void()>& work) {
    try {
        work();
        return;
    } catch (const Ended& ended) {
        result.status = ended.status;
        return;
    } catch (const EngineError& e) {
        result.failure = e.failure();
    } catch (const std::bad_alloc&) {
        result.failure = {Fault::OutOfMemory};
    } catch (const std::exception& e) {
        result.failure = {Fault::Internal};
        result.failure.shown = e.what();
    }
    result.status = failureStatus;
    result.written.clear();
}

} // namespace

void ProgressMeter::Show(Pass pass, std::uint64_t done, std::uint64_t total) {
    const double share = total > 0 ? static_cast<double>(done) / static_cast<double>(total) : 1;
    switch (pass) {
    case Pass::Count:
        return Send(static_cast<int>(std::nearbyint(share * 6)));
    case Pass::Code:
        return Send(static_cast<int>(std::nearbyint(6 + share * 93)));
    case Pass::Restore:
        return Send(static_cast<int>(std::nearbyint(share * 99)));
    }
}

void ProgressMeter::Send(int percent) {
    if (percent <= shown_) return;
    shown_ = percent > 100 ? 100 : percent;
    control_.Progress(shown_);
}

void Follow(stream::Workers& workers, JobControl& control, std::int16_t cancelStatus,
            const std::function<bool()>& done, const std::function<void()>& show) {
    for (;;) {
        const bool over = workers.WaitFor(done, kYieldInterval);
        workers.RaiseIfFailed();
        show();
        control.Yield();
        if (control.Cancelled()) End(cancelStatus);
        if (over) return;
    }
}

void CheckFileLength(std::int64_t length, const std::string& path) {
    if (length > vwx::kMaxFileLength) Raise({Fault::SourceTooLarge, path});
}

bool ResultFile::MayReplace() const {
    const Overwrite& rule = request_.overwrite;
    return rule.mode == Overwrite::Allowed ||
           (request_.output == request_.source && path_ == request_.source) ||
           (!rule.confirmed.empty() && path_ == rule.confirmed);
}

void ResultFile::ExpectFree() const {
    struct stat st {};
    if (!MayReplace() && ::lstat(path_.c_str(), &st) == 0) Raise({Fault::OutputExists, path_});
}

void ResultFile::Finish(JobControl& control, const Stamp& source,
                        const std::function<void(unsigned mode, bool replace)>& commit) const {
    Stamp expected = source;
    {
        BusyPointer busy(control);
        if (StampAt(request_.source) != source) Raise({Fault::SourceChanged, request_.source});
        // A result that takes the place of another name of the source (a hard link) leaves the
        // source one link fewer: its status time changes, its content does not.
        const bool takesLink = path_ != request_.source && IsSameFile(path_, request_.source);
        commit(FilePermissions(request_.source), MayReplace());
        if (const std::optional<Stamp> now = StampAt(request_.source); now && takesLink)
            expected.changedNs = now->changedNs;
    }
    // When the output path chosen was the source itself, the new file replaces the source: the
    // source is deleted, but only once the new file is complete under its own name, and only
    // when it is still the file the job read.
    if (request_.output != request_.source || path_ == request_.source) return;
    const std::optional<Stamp> now = StampAt(request_.source);
    if (!now) return;
    if (*now != expected) Raise({Fault::SourceKept, request_.source, path_});
    if (::unlink(request_.source.c_str()) != 0)
        Raise({Fault::SourceNotDeleted, request_.source, path_, errno});
}

JobResult RunInMemory(const JobRequest& keys, std::size_t size, std::int16_t failureStatus,
                      const std::function<void()>& work) {
    JobResult result;
    if (!IsAcceptablePassword(keys.password.View()))
        result.status = kStatusPasswordTooShort;
    else if (size < 1)
        result.status = kStatusEmptyFile;
    else
        RunGuarded(failureStatus, result, work);
    return result;
}

} // namespace job

JobResult RunJob(const JobRequest& request, JobControl& control) {
    JobResult result;
    if (!IsAcceptablePassword(request.password.View())) {
        result.status = kStatusPasswordTooShort;
    } else if (!FileExists(request.source)) {
        result.status = kStatusFileNotFound;
    } else if (FileLength(request.source) < 1) {
        result.status = kStatusEmptyFile;
    } else if (request.kind == JobKind::Protect) {
        job::RunGuarded(kStatusProtectFailed, result,
                        [&] { job::ProtectFile(request, control, result); });
    } else {
        job::RunGuarded(kStatusRestoreFailed, result,
                        [&] { job::RestoreFile(request, control, result); });
    }
    return result;
}

std::string ResultPathOf(const JobRequest& request) {
    if (request.kind == JobKind::Protect) return WithoutExtension(request.output) + vwx::kExtension;
    if (request.kind != JobKind::Restore) return {};
    return job::RestoredPathOf(request);
}

} // namespace vw
