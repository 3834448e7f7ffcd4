// vwx: protects or restores one file from the command line, the way the desktop program does.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "cli/Arguments.h"
#include "cli/Escape.h"
#include "cli/FdWrite.h"
#include "cli/PasswordInput.h"
#include "cli/Preflight.h"
#include "cli/ProgressBar.h"
#include "engine/Bytes.h"
#include "engine/Cp1252.h"
#include "engine/Driver.h"
#include "engine/JobState.h"
#include "engine/PrivateCode.h"
#include "platform/QtHost.h"

namespace {

constexpr int kUsageError = 64;    // sysexits EX_USAGE
constexpr int kCannotCreate = 73;  // sysexits EX_CANTCREAT: the result would replace a file
constexpr int kPasswordGiven = -1; // ObtainPassword: go on with the job

extern "C" void OnInterrupt(int) {
    vw::cli::Interrupted = 1;
    vw::CancelRequested.store(true); // lock-free, so safe in a signal handler
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

int UsageError(const std::string& message) {
    Complain(message);
    vw::cli::WriteAll(STDERR_FILENO, vw::cli::UsageLine() + "\n");
    return kUsageError;
}

int Refused(int status, const std::string& message) {
    Complain(message);
    return status;
}

int ExistingFileRefused(const std::string& path) {
    return Refused(kCannotCreate, path + " already exists; use -f to replace it");
}

// Prints on standard output; a failure is reported, and the status stays.
int Print(const std::string& text, int status) {
    if (!vw::cli::WriteAll(STDOUT_FILENO, text))
        Complain(std::string("cannot write to standard output: ") + std::strerror(errno));
    return status;
}

bool IsDirectory(const std::string& path) {
    struct stat info = {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string FailureText(int status) {
    std::string text = vw::StatusMessage;
    if (status == vw::kStatusWrongPassword) text += " (password errata o file danneggiato)";
    if (text.empty()) text = "the job failed with status " + std::to_string(status);
    return text;
}

// Fills typed (UTF-8) from the password file, the environment or the terminal; returns
// kPasswordGiven, or the exit status when there is no usable password.
int ObtainPassword(const vw::cli::Options& options, bool protecting, std::string& typed) {
    const int cancelStatus = protecting ? vw::kStatusProtectCancelled : vw::kStatusRestoreCancelled;
    const std::string cancelled = vw::MessageForStatus(cancelStatus, "");
    if (options.hasPasswordFile) {
        std::string error;
        switch (vw::cli::ReadPasswordFile(options.passwordFile, typed, error)) {
        case vw::cli::PasswordFileRead::Read:
            break;
        case vw::cli::PasswordFileRead::Failed:
            return UsageError(error);
        case vw::cli::PasswordFileRead::TooLong:
            return Refused(vw::kStatusPasswordTooShort, error);
        case vw::cli::PasswordFileRead::Interrupted:
            return Refused(cancelStatus, cancelled);
        }
    } else if (const char* env = std::getenv("VWX_PASSWORD")) {
        typed = env;
    } else {
        switch (vw::cli::AskOnTerminal(protecting, typed)) {
        case vw::cli::TerminalAnswer::Given:
            break;
        case vw::cli::TerminalAnswer::GaveUp:
            return Refused(cancelStatus, cancelled);
        case vw::cli::TerminalAnswer::NoTerminal:
            return UsageError("no terminal to ask the password on; "
                              "use --password-file or VWX_PASSWORD");
        }
    }
    const std::string unusable = vw::cli::UnusablePasswordText(typed);
    if (unusable.empty()) return kPasswordGiven;
    vw::SecureWipe(typed);
    return Refused(vw::kStatusPasswordTooShort, unusable);
}

// Runs the job with the code-page password and reports its outcome; returns the exit status.
int RunJob(const vw::cli::Options& options, std::string& password) {
    vw::QtHost host;
    vw::ScopedHost scopedHost(host);
    std::string privateCode = options.noPrivateCode ? std::string() : vw::ReadPrivateCode();

    vw::cli::ProgressBar bar(STDERR_FILENO);
    if (::isatty(STDERR_FILENO)) host.onProgress = [&bar](int percent) { bar.Show(percent); };
    // A cancel that came before the job cleared the flag at its start is raised again.
    host.onEvents = [] {
        if (vw::cli::Interrupted) vw::CancelRequested.store(true);
    };

    const vw::Overwrite overwrite = options.force ? vw::Overwrite::Allowed : vw::Overwrite::Refused;
    const std::string written = vw::ProcessFile(options.file, vw::cli::OutputPathFor(options),
                                                password, privateCode, overwrite);
    vw::SecureWipe(password);
    vw::SecureWipe(privateCode);
    bar.Finish();

    const int status = vw::JobStatus;
    if (status == vw::kStatusOk) return Print(vw::cli::EscapeControls(written) + "\n", status);
    const bool failed = status == vw::kStatusProtectFailed || status == vw::kStatusRestoreFailed;
    if (failed && !vw::ExistingOutputPath.empty())
        return ExistingFileRefused(vw::ExistingOutputPath);
    return Refused(status, FailureText(status));
}

} // namespace

int main(int argc, char** argv) {
    ::prctl(PR_SET_DUMPABLE, 0); // a core dump would hold the password
    InstallSignalHandlers();
    const vw::cli::ParseResult parsed =
        vw::cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok()) return UsageError(parsed.error);
    const vw::cli::Options& options = parsed.options;
    if (options.help) return Print(vw::cli::HelpText(), 0);
    if (options.version) return Print(std::string("vwx ") + VW_VERSION + "\n", 0);
    if (!options.output.empty() && IsDirectory(options.output))
        return UsageError("the output path " + options.output + " is a folder");

    const std::string sourceProblem = vw::cli::SourceProblem(options.file);
    if (!sourceProblem.empty()) return Refused(vw::kStatusFileNotFound, sourceProblem);
    const bool protecting = vw::DetectFileKind(options.file) == vw::FileKind::Plain;
    if (protecting) {
        const std::string inTheWay = vw::cli::ProtectResultInTheWay(options);
        if (!inTheWay.empty()) return ExistingFileRefused(inTheWay);
    }

    std::string typed;
    const int refused = ObtainPassword(options, protecting, typed);
    if (refused != kPasswordGiven) return refused;
    std::string password = vw::Utf8ToCp1252(typed);
    vw::SecureWipe(typed);
    return RunJob(options, password);
}
