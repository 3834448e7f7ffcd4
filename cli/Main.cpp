// vwx: protects or restores one file from the command line, the way the desktop program does.
#include <cerrno>
#include <csignal>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Escape.h"
#include "cli/ExitStatus.h"
#include "cli/FdWrite.h"
#include "cli/PasswordInput.h"
#include "cli/PasswordSource.h"
#include "cli/Preflight.h"
#include "cli/ProgressBar.h"
#include "cli/Secrets.h"
#include "engine/Driver.h"
#include "engine/JobState.h"
#include "engine/PrivateCode.h"
#include "platform/CoreDumps.h"
#include "platform/QtHost.h"
#include "vw/Version.h"

namespace {

using vw::cli::Refusal;

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

// Prints on standard output; a failure is reported, and the status stays.
int Print(const std::string& text, int status) {
    if (!vw::cli::WriteAll(STDOUT_FILENO, text))
        Complain(std::string("cannot write to standard output: ") + std::strerror(errno));
    return status;
}

// How a finished job ends the run: its result's path printed, or why it failed.
int Report(int status, const std::string& written) {
    if (status == vw::kStatusOk) return Print(vw::cli::EscapeControls(written) + "\n", status);
    const bool failed = status == vw::kStatusProtectFailed || status == vw::kStatusRestoreFailed;
    if (failed && !vw::ExistingOutputPath.empty())
        return Tell(vw::cli::ExistingFileRefusal(vw::ExistingOutputPath));
    std::string text = vw::StatusMessage;
    if (status == vw::kStatusWrongPassword) text += " (password errata o file danneggiato)";
    if (text.empty()) text = "the job failed with status " + std::to_string(status);
    return Tell({status, text});
}

// Runs the job with the password and the stored private code; returns the exit status.
int RunJob(const vw::cli::Options& options, vw::cli::Secrets& secrets) {
    vw::QtHost host;
    vw::ScopedHost scopedHost(host);
    if (!options.noPrivateCode) {
        std::string code = vw::ReadPrivateCode();
        secrets.privateCode.swap(code);
    }
    vw::cli::ProgressBar bar(STDERR_FILENO);
    if (::isatty(STDERR_FILENO)) host.onProgress = [&bar](int percent) { bar.Show(percent); };
    // Every yield turns a noted interrupt into a cancel, also one that came before the job
    // started (which clears the cancel flag).
    host.onEvents = [] {
        if (vw::cli::Interrupted) vw::CancelRequested.store(true);
    };
    const vw::Overwrite overwrite = options.force ? vw::Overwrite::Allowed : vw::Overwrite::Refused;
    std::string written;
    const int status = vw::cli::RunKeyed(secrets, [&](const vw::cli::Secrets& keys) {
        written = vw::ProcessFile(options.file, vw::cli::OutputPathFor(options), keys.password,
                                  keys.privateCode, overwrite);
        return static_cast<int>(vw::JobStatus);
    });
    bar.Finish();
    return Report(status, written);
}

} // namespace

int main(int argc, char** argv) {
    vw::DisableCoreDumps();
    InstallSignalHandlers();
    const vw::cli::ParseResult parsed =
        vw::cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok()) return Tell({vw::cli::kUsageError, parsed.error});
    const vw::cli::Options& options = parsed.options;
    if (options.help) return Print(vw::cli::HelpText(), 0);
    if (options.version) return Print(std::string("vwx ") + vw::kVersion + "\n", 0);

    const bool protecting = vw::DetectFileKind(options.file) == vw::FileKind::Plain;
    if (const auto refusal = vw::cli::Preflight(options, protecting)) return Tell(*refusal);
    vw::cli::Secrets secrets;
    if (const auto refusal = vw::cli::ObtainPassword(options, protecting, secrets.typed))
        return Tell(*refusal);
    return RunJob(options, secrets);
}
