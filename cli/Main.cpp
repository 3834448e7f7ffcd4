// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// vwx: protects, restores or tests files from the command line, the way the desktop program does.
#include <QCoreApplication>
#include <csignal>
#include <optional>
#include <string>
#include <sys/ioctl.h>
#include <unistd.h>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Escape.h"
#include "cli/ExitStatus.h"
#include "cli/PasswordInput.h"
#include "cli/PasswordSource.h"
#include "cli/Preflight.h"
#include "cli/PrivateCodeCommand.h"
#include "cli/ProgressBar.h"
#include "cli/Report.h"
#include "cli/ResultPlan.h"
#include "cli/Secrets.h"
#include "engine/cipher/PrivateCode.h"
#include "engine/io/Paths.h"
#include "engine/job/Job.h"
#include "platform/CoreDumps.h"
#include "platform/JobText.h"
#include "platform/QtHost.h"
#include "platform/QtJobControl.h"
#include "platform/StandardStreams.h"
#include "platform/Translation.h"
#include "vw/Version.h"

namespace {

using vw::cli::Options;
using vw::cli::Refusal;

constexpr int kDefaultColumns = 80;

// Only notes the interrupt: a prompt stops at once, a job at its next yield (see RunJobs).
extern "C" void OnInterrupt(int signal) {
    vw::cli::Interrupted = signal;
}

// Interrupts (Ctrl-C, a kill, the terminal hung up) stop prompts and jobs, unless whoever
// started vwx ignores them (a shell, for a command in the background); a closed standard output
// is an error to report, not a reason to die after the job is done.
void InstallSignalHandlers() {
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a prompt's read returns at once
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction inherited = {};
        if (sigaction(signal, nullptr, &inherited) == 0 && inherited.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

// Once everything is cleaned up, a run stopped by an interrupt ends by that same signal, so that
// the shell or script that started vwx stops as well.
void EndByTheInterrupt() {
    const int signal = vw::cli::Interrupted;
    if (signal == 0) return;
    std::signal(signal, SIG_DFL);
    std::raise(signal);
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

// One file of the run: its own options, its direction, its result, and why it cannot run (told
// before the password is asked when that can be known then, except in a test, whose lines keep
// the files' order).
struct FilePlan {
    Options options;
    bool protects = false;
    std::optional<Refusal> refusal = {};
    bool told = false; // the refusal was already reported
    vw::cli::PlannedResult result = {};
};

vw::JobKind KindOf(const FilePlan& plan) {
    using vw::JobKind;
    return plan.options.test ? JobKind::Test : plan.protects ? JobKind::Protect : JobKind::Restore;
}

// The job of a file, keyed with the run's password and private code.
vw::JobRequest RequestFor(const FilePlan& plan, const vw::cli::Secrets& keys,
                          const vw::Overwrite& overwrite) {
    vw::JobRequest request;
    request.kind = KindOf(plan);
    request.source = plan.options.file;
    request.output = vw::cli::OutputPathFor(plan.options);
    request.password = vw::KeyText(keys.password);
    request.privateCode = vw::KeyText(keys.privateCode);
    request.overwrite = overwrite;
    return request;
}

// Every result of the call, decided in the files' order once the password tells where the
// restores write. A protect that may not write its result does not run. A restore whose result
// may not be written still runs, unable to replace any file: the password and the file are
// checked first, so a wrong password is told as such, and the refusal only when the job would
// have written.
void PlanResults(std::vector<FilePlan>& plans, vw::cli::ResultPlan& results,
                 const vw::cli::Secrets& keys) {
    for (FilePlan& plan : plans) {
        if (plan.refusal || plan.options.test) continue;
        const std::string result = plan.protects ? vw::cli::ProtectResultPath(plan.options)
                                                 : vw::ResultPathOf(RequestFor(plan, keys, {}));
        plan.result = results.Decide(plan.options, plan.protects, result);
        if (plan.protects) plan.refusal = plan.result.refusal;
    }
}

// Runs one file's job; returns its status.
int RunOne(const Options& options, const FilePlan& plan, const vw::cli::Secrets& keys,
           vw::cli::ResultPlan& results, vw::cli::ProgressBar& bar, vw::JobControl& control) {
    const Options& one = plan.options;
    vw::Overwrite overwrite = plan.result.refusal ? vw::Overwrite::Refused : plan.result.overwrite;
    if (results.WrittenEarlier(overwrite.confirmed)) overwrite = vw::Overwrite::Refused;
    bar.Start(vw::cli::EscapeControls(one.file), vw::FileLength(one.file));
    const vw::JobResult result = vw::RunJob(RequestFor(plan, keys, overwrite), control);
    bar.Finish(result.Ok());
    if (result.Ok() && !one.test) results.Written(result.written);
    if (plan.result.refusal && result.failure.fault == vw::Fault::OutputExists)
        return vw::cli::Fail(options, one.file, *plan.result.refusal);
    return vw::cli::Report(options, one, result, results);
}

// Runs the files' jobs in order with the password and the stored private code, until one is
// cancelled; fills their statuses.
void RunJobs(const Options& options, std::vector<FilePlan>& plans, vw::cli::ResultPlan& results,
             vw::cli::Secrets& secrets, std::vector<int>& statuses) {
    if (!options.noPrivateCode) {
        vw::QtHost host;
        std::string code = vw::ReadPrivateCode(host);
        secrets.privateCode.swap(code);
    }
    const bool showing = !options.quiet && ::isatty(STDERR_FILENO);
    vw::cli::ProgressBar bar(showing ? STDERR_FILENO : -1, TerminalColumns);
    vw::QtJobControl control;
    control.onProgress = [&bar](int percent) { bar.Show(percent); };
    // A noted interrupt cancels the running job at its next yield.
    control.cancelled = [] { return vw::cli::Interrupted != 0; };
    vw::cli::RunKeyed(secrets, [&](const vw::cli::Secrets& keys) {
        PlanResults(plans, results, keys);
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const FilePlan& plan = plans[i];
            const std::int16_t cancelled =
                plan.protects ? vw::kStatusProtectCancelled : vw::kStatusRestoreCancelled;
            if (plan.refusal) {
                if (!plan.told)
                    statuses[i] = vw::cli::Fail(options, plan.options.file, *plan.refusal);
                continue;
            }
            if (vw::cli::Interrupted) { // between two jobs: the rest is not started
                statuses[i] = vw::cli::Fail(options, plan.options.file,
                                            {cancelled, vw::StatusText(cancelled).toStdString()});
                break;
            }
            statuses[i] = RunOne(options, plan, keys, results, bar, control);
            if (statuses[i] == cancelled) break;
        }
        return 0;
    });
}

// Every file's checks before the password: the source, and whether a protect's result may be
// written as far as that can be told without the restores' results.
std::vector<FilePlan> PlanFiles(const Options& options) {
    std::vector<FilePlan> plans;
    vw::cli::ResultPlan protects(options.files, {options.passwordFile});
    for (const std::string& file : options.files) {
        FilePlan& plan = plans.emplace_back(FilePlan{ForFile(options, file)});
        plan.protects = vw::cli::Protecting(plan.options);
        plan.refusal = vw::cli::Preflight(plan.options);
        if (!plan.refusal && plan.protects && !plan.options.test)
            plan.refusal =
                protects.Decide(plan.options, true, vw::cli::ProtectResultPath(plan.options))
                    .refusal;
    }
    return plans;
}

// Checks every file, asks the password once (twice when a file is protected) unless no file
// can run, then runs the jobs. Returns the first failing file's status, 0 when none failed.
int RunFiles(const Options& options) {
    std::vector<int> statuses(options.files.size(), vw::kStatusOk);
    vw::cli::ResultPlan results(options.files, {options.passwordFile});
    std::vector<FilePlan> plans = PlanFiles(options);
    bool runnable = false, protecting = false;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        FilePlan& plan = plans[i];
        if (plan.refusal && !options.test) {
            statuses[i] = vw::cli::Fail(options, plan.options.file, *plan.refusal);
            plan.told = true;
        }
        runnable = runnable || !plan.refusal;
        protecting = protecting || (plan.protects && !plan.refusal);
    }
    vw::cli::Secrets secrets;
    std::optional<Refusal> noPassword;
    if (runnable) noPassword = vw::cli::ObtainPassword(options, protecting, secrets.typed);
    if (const std::string warning = vw::cli::LongPasswordWarning(secrets.typed); !warning.empty())
        vw::cli::Complain(warning);
    if (!runnable || noPassword) {
        if (noPassword) vw::cli::Tell(*noPassword);
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const FilePlan& plan = plans[i];
            if (!plan.refusal)
                statuses[i] = noPassword->status;
            else if (!plan.told)
                statuses[i] = vw::cli::Fail(options, plan.options.file, *plan.refusal);
        }
    } else {
        RunJobs(options, plans, results, secrets, statuses);
    }
    for (const int status : statuses)
        if (status != vw::kStatusOk) return status;
    return vw::kStatusOk;
}

} // namespace

int main(int argc, char** argv) {
    vw::OpenMissingStandardStreams();
    vw::DisableCoreDumps();
    InstallSignalHandlers();
    const vw::ProgramTranslation translation(argc, argv);
    const vw::cli::ParseResult parsed =
        vw::cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok()) return vw::cli::Tell({vw::cli::kUsageError, parsed.error});
    const Options& options = parsed.options;
    if (options.help) return vw::cli::Print(vw::cli::HelpText(), 0);
    if (options.version)
        return vw::cli::Print(std::string("vwx ") + vw::kVersion + "\nLicence " + vw::kLicence +
                                  ": GNU GPL version 3 or later, with no warranty.\n",
                              0);
    if (vw::cli::PrivateCodeCommandGiven(options)) return vw::cli::RunPrivateCodeCommand(options);
    const int status = RunFiles(options);
    EndByTheInterrupt();
    return status;
}
