// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FileRunner.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "cli/Escape.h"
#include "cli/PasswordInput.h"
#include "cli/Report.h"
#include "engine/io/Paths.h"
#include "platform/JobText.h"

namespace vw::cli {
namespace {

// How often the run looks for an interrupt and redraws its progress while jobs run.
constexpr auto kFollowInterval = std::chrono::milliseconds(20);

int Runnable(const std::vector<FilePlan>& plans) {
    return static_cast<int>(std::count_if(plans.begin(), plans.end(),
                                          [](const FilePlan& plan) { return !plan.refusal; }));
}

std::int64_t RunnableBytes(const std::vector<FilePlan>& plans) {
    std::int64_t bytes = 0;
    for (const FilePlan& plan : plans)
        if (!plan.refusal) bytes += std::max<std::int64_t>(FileLength(plan.options.file), 0);
    return bytes;
}

// What the run reads: its files and the password file. No cleanup takes any of them.
std::vector<std::string> ReadFiles(const Options& options) {
    std::vector<std::string> files = options.files;
    if (!options.passwordFile.empty() && options.passwordFile != "-")
        files.push_back(options.passwordFile);
    return files;
}

// The processors the run's jobs may keep busy together: -j, else all the process may use.
int Budget(const Options& options) {
    return options.jobs > 0 ? options.jobs : AvailableProcessors();
}

int Terminal(const Options& options, bool shown) {
    return shown && !options.quiet && ::isatty(STDERR_FILENO) ? STDERR_FILENO : -1;
}

} // namespace

FileRunner::FileRunner(const Options& options, std::vector<FilePlan>& plans, ResultPlan& results,
                       const Secrets& keys, std::vector<int>& statuses,
                       std::function<int()> columns)
    : options_(options), plans_(plans), results_(results), keys_(keys), statuses_(statuses),
      bytes_(plans.size(), 0),
      pool_(Budget(options), AvailableProcessors()), leftovers_(ReadFiles(options)),
      oneAtATime_(Budget(options) == 1 || Runnable(plans) <= 1),
      fileBar_(Terminal(options, oneAtATime_), columns),
      runLine_(Terminal(options, !oneAtATime_), columns, Runnable(plans), RunnableBytes(plans)) {}

void FileRunner::Run() {
    for (;;) {
        if (Interrupted) pool_.CancelAll();
        if (TellWhatEnded()) break;
        StartWhatFits();
        ShowProgress();
        pool_.Wait(kFollowInterval);
    }
    if (!oneAtATime_ && pool_.EndedCount() > 0) runLine_.Finish(pool_.EndedCount());
}

void FileRunner::StartWhatFits() {
    for (; !Interrupted && next_ < plans_.size(); ++next_) {
        const FilePlan& plan = plans_[next_];
        if (plan.refusal) continue; // told in its turn
        const std::int64_t bytes = FileLength(plan.options.file);
        const int busy = ProcessorsBusy(KindOf(plan), bytes);
        // A restore whose result was refused may still write it, where the earlier file that
        // was to write it failed: it waits until every earlier job has ended and been told, as
        // when the files run one after the other.
        if (!pool_.Fits(busy, plan.result.refusal.has_value())) return;
        Overwrite overwrite = plan.result.refusal ? Overwrite::Refused : plan.result.overwrite;
        if (results_.WrittenEarlier(overwrite.confirmed)) overwrite = Overwrite::Refused;
        JobRequest request = RequestFor(plan, keys_, overwrite);
        request.leftovers = &leftovers_;
        bytes_[next_] = bytes;
        last_ = next_;
        fileBar_.Start(EscapeControls(plan.options.file), bytes);
        pool_.Start(next_, std::move(request), busy);
    }
}

bool FileRunner::TellWhatEnded() {
    while (told_ < plans_.size()) {
        const bool unstarted = !plans_[told_].refusal && told_ >= next_;
        if (!Tell(told_)) return false;
        ++told_;
        if (unstarted) return true; // interrupted: no file after it starts either
    }
    return true;
}

bool FileRunner::Tell(std::size_t i) {
    const FilePlan& plan = plans_[i];
    const std::string& file = plan.options.file;
    if (plan.refusal) {
        runLine_.Clear();
        if (!plan.told && !cancelTold_) statuses_[i] = Fail(options_, file, *plan.refusal);
        return true;
    }
    const std::int16_t cancelled =
        plan.protects ? kStatusProtectCancelled : kStatusRestoreCancelled;
    if (i >= next_) { // never started
        if (!Interrupted) return false;
        runLine_.Clear();
        if (!cancelTold_)
            statuses_[i] = Fail(options_, file, {cancelled, StatusText(cancelled).toStdString()});
        return true;
    }
    const std::optional<JobResult> result = pool_.TakeResult(i);
    if (!result) return false;
    fileBar_.Finish(result->Ok());
    runLine_.Clear();
    bytesDone_ += bytes_[i];
    if (result->Ok() && !plan.options.test) results_.Written(result->written);
    if (plan.result.refusal && result->failure.fault == Fault::OutputExists)
        statuses_[i] = Fail(options_, file, *plan.result.refusal);
    else
        statuses_[i] = Report(options_, plan.options, *result, results_);
    cancelTold_ = cancelTold_ || statuses_[i] == cancelled;
    return true;
}

void FileRunner::ShowProgress() {
    if (oneAtATime_) {
        if (next_ > told_) fileBar_.Show(pool_.Percent(last_));
        return;
    }
    std::int64_t running = 0; // what the jobs not told yet have worked through
    for (std::size_t i = told_; i < next_; ++i)
        running += bytes_[i] * pool_.Percent(i) / 100;
    runLine_.Show(pool_.EndedCount(), bytesDone_ + running);
}

} // namespace vw::cli
