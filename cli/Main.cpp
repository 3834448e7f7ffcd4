// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// vwx: protects, restores or tests files from the command line, the way the desktop program does.
#include <QCoreApplication>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <optional>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Escape.h"
#include "cli/ExitStatus.h"
#include "cli/FdWrite.h"
#include "cli/FileJob.h"
#include "cli/PasswordInput.h"
#include "cli/PasswordSource.h"
#include "cli/Preflight.h"
#include "cli/PrivateCodeCommand.h"
#include "cli/ProgressBar.h"
#include "cli/Secrets.h"
#include "cli/WrittenInThisRun.h"
#include "engine/JobState.h"
#include "engine/Paths.h"
#include "engine/PrivateCode.h"
#include "platform/CoreDumps.h"
#include "platform/QtHost.h"
#include "platform/Translation.h"
#include "vw/Version.h"

namespace {

using vw::cli::Options;
using vw::cli::Refusal;

constexpr int kDefaultColumns = 80;

// Only notes the interrupt: a prompt stops at once, a job at its next yield (see RunJob).
extern "C" void OnInterrupt(int) {
    vw::cli::Interrupted = 1;
}

// Interrupts stop prompts and jobs; a closed standard output is an error to report, not a
// reason to die after the job is done.
void InstallSignalHandlers() {
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a prompt's read returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

// Every message goes through here: file names and engine texts may hold control characters.
void Complain(const std::string& message) {
    vw::cli::WriteAll(STDERR_FILENO, "vwx: " + vw::cli::EscapeControls(message) + "\n");
}

// Tells why the run ends, with the usage line after a usage error; returns the exit status.
int Tell(const Refusal& refusal) {
    Complain(refusal.message);
    if (refusal.status == vw::cli::kUsageError)
        vw::cli::WriteAll(STDERR_FILENO, vw::cli::UsageLine() + "\n");
    return refusal.status;
}

// Prints on standard output; a failure is reported once, and the status stays.
int Print(const std::string& text, int status) {
    static bool broken = false;
    if (!vw::cli::WriteAll(STDOUT_FILENO, text) && !broken) {
        broken = true;
        Complain(std::string("cannot write to standard output: ") + std::strerror(errno));
    }
    return status;
}

// Why a finished job failed.
Refusal FailureOf(int status) {
    const bool failed = status == vw::kStatusProtectFailed || status == vw::kStatusRestoreFailed;
    if (failed && !vw::ExistingOutputPath.empty())
        return vw::cli::ExistingFileRefusal(vw::ExistingOutputPath);
    std::string text = vw::StatusMessageText().toStdString();
    if (status == vw::kStatusWrongPassword)
        text += QCoreApplication::translate("vwx", " (password errata o file danneggiato)")
                    .toStdString();
    if (text.empty()) text = "the job failed with status " + std::to_string(status);
    return {status, text};
}

// A job refused to replace what an earlier job of the same call wrote.
Refusal WrittenEarlierRefusal() {
    std::string text =
        QCoreApplication::translate(
            "vwx", "%1 was written earlier in this run and is not replaced, even with -f")
            .toStdString();
    text.replace(text.find("%1"), 2, vw::ExistingOutputPath); // the path's bytes as they are
    return {vw::cli::kCannotCreate, text};
}

// Tells why a file failed: on standard output in a test's "FILE: reason" line, else on standard
// error, after the file's name when the run has more than one. Returns the status.
int Fail(const Options& options, const std::string& file, const Refusal& refusal) {
    const std::string named = file + ": " + refusal.message;
    if (options.test) return Print(vw::cli::EscapeControls(named) + "\n", refusal.status);
    if (options.files.size() == 1) return Tell(refusal);
    Complain(named);
    return refusal.status;
}

// How a finished job ends: its result's path (or a test's "ok") printed, or why it failed.
int Report(const Options& options, const std::string& file, int status,
           const std::string& written) {
    if (status != vw::kStatusOk) return Fail(options, file, FailureOf(status));
    if (options.quiet) return status;
    if (!options.test) return Print(vw::cli::EscapeControls(written) + "\n", status);
    const std::string ok = QCoreApplication::translate("vwx", "ok").toStdString();
    return Print(vw::cli::EscapeControls(file) + ": " + ok + "\n", status);
}

Options ForFile(const Options& options, const std::string& file) {
    Options one = options;
    one.file = file;
    return one;
}

int TerminalColumns() {
    winsize size = {};
    const bool known = ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0;
    return known ? size.ws_col : kDefaultColumns;
}

// Runs one file's job in the direction the options give; returns the written path.
std::string RunOne(const Options& one, const vw::cli::Secrets& keys, bool mayReplace) {
    const vw::Overwrite overwrite = mayReplace ? vw::Overwrite::Allowed : vw::Overwrite::Refused;
    using vw::cli::JobKind;
    const JobKind kind = one.test                   ? JobKind::Test
                         : vw::cli::Protecting(one) ? JobKind::Protect
                                                    : JobKind::Restore;
    return vw::cli::RunFileJob(kind, one.file, vw::cli::OutputPathFor(one), keys.password,
                               keys.privateCode, overwrite);
}

// One file of the run: its own options, its direction, and why it cannot run (told before the
// password is asked, except in a test, whose lines keep the files' order).
struct FilePlan {
    Options options;
    bool protects = false;
    std::optional<Refusal> refusal = {};
};

// Runs the files' jobs in order with the password and the stored private code, until one is
// cancelled; fills their statuses.
void RunJobs(const Options& options, const std::vector<FilePlan>& plans, vw::cli::Secrets& secrets,
             std::vector<int>& statuses) {
    vw::QtHost host;
    vw::ScopedHost scopedHost(host);
    if (!options.noPrivateCode) {
        std::string code = vw::ReadPrivateCode();
        secrets.privateCode.swap(code);
    }
    vw::cli::ProgressBar bar(STDERR_FILENO);
    const bool showing = !options.quiet && ::isatty(STDERR_FILENO);
    if (showing) host.onProgress = [&bar](int percent) { bar.Show(percent); };
    // Every yield turns a noted interrupt into a cancel, also one that came before the job
    // started (which clears the cancel flag).
    host.onEvents = [] {
        if (vw::cli::Interrupted) vw::CancelRequested.store(true);
    };
    vw::cli::RunKeyed(secrets, [&](const vw::cli::Secrets& keys) {
        vw::cli::WrittenInThisRun earlier;
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const Options& one = plans[i].options;
            const std::int16_t cancelled =
                plans[i].protects ? vw::kStatusProtectCancelled : vw::kStatusRestoreCancelled;
            if (plans[i].refusal) {
                if (options.test) statuses[i] = Fail(options, one.file, *plans[i].refusal);
                continue;
            }
            if (vw::cli::Interrupted) { // between two jobs: the rest is not started
                statuses[i] =
                    Fail(options, one.file, {cancelled, vw::MessageForStatus(cancelled, "")});
                break;
            }
            if (showing)
                bar.Start(vw::cli::EscapeControls(one.file), vw::FileLength(one.file),
                          TerminalColumns());
            const bool mayReplace = one.force && !earlier.MayReceive(one, plans[i].protects);
            const std::string written = RunOne(one, keys, mayReplace);
            const int status = vw::JobStatus;
            bar.Finish(status == vw::kStatusOk);
            if (status == vw::kStatusOk && !one.test) earlier.Add(written);
            if (status != vw::kStatusOk && earlier.Holds(vw::ExistingOutputPath)) {
                statuses[i] = Fail(options, one.file, WrittenEarlierRefusal());
                continue;
            }
            statuses[i] = Report(options, one.file, status, written);
            if (status == cancelled) break;
        }
        return 0;
    });
}

// Checks every file, asks the password once (twice when a file is protected) unless no file
// can run, then runs the jobs. Returns the first failing file's status, 0 when none failed.
int RunFiles(const Options& options) {
    std::vector<int> statuses(options.files.size(), vw::kStatusOk);
    std::vector<FilePlan> plans;
    bool runnable = false, protecting = false;
    for (const std::string& file : options.files) {
        FilePlan& plan = plans.emplace_back(FilePlan{ForFile(options, file)});
        plan.protects = vw::cli::Protecting(plan.options);
        plan.refusal = vw::cli::Preflight(plan.options, plan.protects);
        if (plan.refusal && !options.test)
            statuses[plans.size() - 1] = Fail(options, file, *plan.refusal);
        runnable = runnable || !plan.refusal;
        protecting = protecting || (plan.protects && !plan.refusal);
    }
    vw::cli::Secrets secrets;
    std::optional<Refusal> noPassword;
    if (runnable) noPassword = vw::cli::ObtainPassword(options, protecting, secrets.typed);
    if (!runnable || noPassword) {
        if (noPassword) Tell(*noPassword);
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const FilePlan& plan = plans[i];
            if (!plan.refusal)
                statuses[i] = noPassword->status;
            else if (options.test)
                statuses[i] = Fail(options, plan.options.file, *plan.refusal);
        }
    } else {
        RunJobs(options, plans, secrets, statuses);
    }
    for (const int status : statuses)
        if (status != vw::kStatusOk) return status;
    return vw::kStatusOk;
}

} // namespace

int main(int argc, char** argv) {
    vw::DisableCoreDumps();
    InstallSignalHandlers();
    const vw::ProgramTranslation translation(argc, argv);
    const vw::cli::ParseResult parsed =
        vw::cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok()) return Tell({vw::cli::kUsageError, parsed.error});
    const Options& options = parsed.options;
    if (options.help) return Print(vw::cli::HelpText(), 0);
    if (options.version) return Print(std::string("vwx ") + vw::kVersion + "\n", 0);
    if (vw::cli::PrivateCodeCommandGiven(options)) return vw::cli::RunPrivateCodeCommand(options);
    return RunFiles(options);
}
