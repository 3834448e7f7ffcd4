// vwx: protects or restores one file from the command line, the way the desktop program does.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "cli/Arguments.h"
#include "cli/PasswordInput.h"
#include "cli/ProgressBar.h"
#include "engine/Bytes.h"
#include "engine/Cp1252.h"
#include "engine/Driver.h"
#include "engine/JobState.h"
#include "engine/PrivateCode.h"
#include "platform/QtHost.h"

namespace {

constexpr int kUsageError = 64;

extern "C" void OnInterrupt(int) {
    vw::cli::Interrupted = 1;
    vw::CancelRequested.store(true); // lock-free, so safe in a signal handler
}

void InstallInterruptHandler() {
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no restart: a prompt's read returns at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

int UsageError(const std::string& message) {
    std::cerr << "vwx: " << message << '\n' << vw::cli::UsageLine() << '\n';
    return kUsageError;
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

} // namespace

int main(int argc, char** argv) {
    const vw::cli::ParseResult parsed =
        vw::cli::ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok()) return UsageError(parsed.error);
    const vw::cli::Options& options = parsed.options;
    if (options.help) {
        std::cout << vw::cli::HelpText();
        return 0;
    }
    if (options.version) {
        std::cout << "vwx " << VW_VERSION << '\n';
        return 0;
    }
    InstallInterruptHandler();
    if (!options.output.empty() && IsDirectory(options.output))
        return UsageError("the output path " + options.output + " is a folder");

    const bool protecting = vw::DetectFileKind(options.file) == vw::FileKind::Plain;
    const int cancelStatus = protecting ? vw::kStatusProtectCancelled : vw::kStatusRestoreCancelled;

    std::string typed;
    if (options.hasPasswordFile) {
        std::string error;
        std::optional<std::string> line = vw::cli::ReadPasswordFile(options.passwordFile, error);
        if (!line) return UsageError(error);
        typed.swap(*line);
    } else if (const char* env = std::getenv("VWX_PASSWORD")) {
        typed = env;
    } else {
        switch (vw::cli::AskOnTerminal(protecting, typed)) {
        case vw::cli::TerminalAnswer::Given:
            break;
        case vw::cli::TerminalAnswer::GaveUp:
            std::cerr << "vwx: " << vw::MessageForStatus(cancelStatus, "") << '\n';
            return cancelStatus;
        case vw::cli::TerminalAnswer::NoTerminal:
            return UsageError("no terminal to ask the password on; "
                              "use --password-file or VWX_PASSWORD");
        }
    }
    std::string password = vw::Utf8ToCp1252(typed);
    vw::SecureWipe(typed);

    vw::QtHost host;
    vw::ScopedHost scopedHost(host);
    std::string privateCode = options.noPrivateCode ? std::string() : vw::ReadPrivateCode();

    vw::cli::ProgressBar bar(STDERR_FILENO);
    if (::isatty(STDERR_FILENO)) host.onProgress = [&bar](int percent) { bar.Show(percent); };
    // A cancel that came before the job cleared the flag at its start is raised again.
    host.onEvents = [] {
        if (vw::cli::Interrupted) vw::CancelRequested.store(true);
    };

    const std::string written =
        vw::ProcessFile(options.file, vw::cli::OutputPathFor(options), password, privateCode);
    vw::SecureWipe(password);
    vw::SecureWipe(privateCode);
    bar.Finish();

    const int status = vw::JobStatus;
    if (status == vw::kStatusOk) {
        std::cout << written << '\n';
        return 0;
    }
    std::cerr << "vwx: " << FailureText(status) << '\n';
    return status;
}
