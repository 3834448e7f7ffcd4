// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Report.h"

#include <QCoreApplication>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/Escape.h"
#include "cli/FdWrite.h"
#include "cli/ResultPlan.h"
#include "platform/JobText.h"

namespace vw::cli {
namespace {

// Why a finished job failed.
Refusal FailureOf(const JobResult& result, bool force, const ResultPlan& results) {
    const int status = result.status;
    const bool exists = result.failure.fault == Fault::OutputExists;
    const std::string existing = exists ? result.failure.path : std::string();
    if (exists && results.WrittenEarlier(existing)) {
        return {kCannotCreate,
                QCoreApplication::translate(
                    "vwx", "%1 was written earlier in this run and is not replaced, even with -f")
                    .arg(QString::fromStdString(existing))
                    .toStdString()};
    }
    if (exists) return ExistingFileRefusal(existing, force);
    std::string text = StatusMessageOf(result.status, result.failure).toStdString();
    if (status == kStatusWrongPassword)
        text += QCoreApplication::translate("vwx", " (password errata o file danneggiato)")
                    .toStdString();
    if (text.empty())
        text = QCoreApplication::translate("vwx", "the job failed with status %1")
                   .arg(status)
                   .toStdString();
    return {status, text};
}

} // namespace

void Complain(const std::string& message) {
    WriteAll(STDERR_FILENO, "vwx: " + EscapeControls(message) + "\n");
}

int Tell(const Refusal& refusal) {
    Complain(refusal.message);
    if (refusal.status == kUsageError) WriteAll(STDERR_FILENO, UsageLine() + "\n");
    return refusal.status;
}

int Print(const std::string& text, int status) {
    static bool broken = false;
    if (!WriteAll(STDOUT_FILENO, text) && !broken) {
        broken = true;
        Complain(QCoreApplication::translate("vwx", "cannot write to standard output: %1")
                     .arg(SystemErrorText(errno))
                     .toStdString());
    }
    return status;
}

int Fail(const Options& options, const std::string& file, const Refusal& refusal) {
    const std::string named = file + ": " + refusal.message;
    if (options.test) return Print(EscapeControls(named) + "\n", refusal.status);
    if (options.files.size() == 1) return Tell(refusal);
    Complain(named);
    return refusal.status;
}

int Report(const Options& options, const Options& one, const JobResult& result,
           const ResultPlan& results) {
    if (!result.Ok()) return Fail(options, one.file, FailureOf(result, one.force, results));
    if (options.quiet) return kStatusOk;
    if (!options.test) return Print(EscapeControls(result.written) + "\n", kStatusOk);
    const std::string ok = QCoreApplication::translate("vwx", "ok").toStdString();
    return Print(EscapeControls(one.file) + ": " + ok + "\n", kStatusOk);
}

} // namespace vw::cli
