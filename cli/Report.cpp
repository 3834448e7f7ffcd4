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
#include "engine/JobState.h"
#include "platform/Translation.h"

namespace vw::cli {
namespace {

// Why a finished job failed.
Refusal FailureOf(int status, bool force, const ResultPlan& results) {
    const bool failed = status == kStatusProtectFailed || status == kStatusRestoreFailed;
    const std::string& existing = ExistingOutputPath;
    if (failed && results.WrittenEarlier(existing)) {
        return {kCannotCreate,
                QCoreApplication::translate(
                    "vwx", "%1 was written earlier in this run and is not replaced, even with -f")
                    .arg(QString::fromStdString(existing))
                    .toStdString()};
    }
    if (failed && !existing.empty()) return ExistingFileRefusal(existing, force);
    std::string text = StatusMessageText().toStdString();
    if (status == kStatusWrongPassword)
        text += QCoreApplication::translate("vwx", " (password errata o file danneggiato)")
                    .toStdString();
    if (text.empty()) text = "the job failed with status " + std::to_string(status);
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
        Complain(std::string("cannot write to standard output: ") + std::strerror(errno));
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

int Report(const Options& options, const Options& one, int status, const std::string& written,
           const ResultPlan& results) {
    if (status != kStatusOk) return Fail(options, one.file, FailureOf(status, one.force, results));
    if (options.quiet) return status;
    if (!options.test) return Print(EscapeControls(written) + "\n", status);
    const std::string ok = QCoreApplication::translate("vwx", "ok").toStdString();
    return Print(EscapeControls(one.file) + ": " + ok + "\n", status);
}

} // namespace vw::cli
