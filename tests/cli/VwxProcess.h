// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs vwx in a scratch folder and home, clean environment, cores allowed, in a new session.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <map>
#include <thread>

#include "tests/support/TempDir.h"

namespace vw::test {

struct RunResult {
    int status = -1; // the exit status, or 128 + the signal's number
    bool coreDumped = false;
    std::string out, err;
};

struct VwxProcess {
    static constexpr auto kPause = std::chrono::milliseconds(1);
    TempDir dir, home;             // vwx runs in dir: tests name files relative to it
    std::string input;             // standard input
    std::string terminal;          // when set: the controlling terminal, standard input and error
    bool closedOutput = false;     // standard output: a pipe nobody reads
    std::vector<int> closedFds;    // standard streams closed before vwx starts
    bool interruptIgnored = false; // as a shell starts a command in the background
    std::string language;          // LANG; none: the C locale
    const std::string in = home / "in", out = home / "out", err = home / "err";

    // Starts vwx with VWX_PASSWORD set to password, unless that is "".
    pid_t Start(std::vector<std::string> args, const std::string& password = "Segreto1") {
        std::string env[] = {"HOME=" + home.path().string(), "LANG=" + language,
                             "VWX_PASSWORD=" + password};
        std::vector<char*> envp{env[0].data()};
        if (!language.empty()) envp.push_back(env[1].data());
        if (!password.empty()) envp.push_back(env[2].data());
        envp.push_back(nullptr);
        std::vector<char*> argv{const_cast<char*>(VWX_BIN)};
        for (auto& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        WriteFile(in, input);
        int pipeFds[2] = {-1, -1};
        if (closedOutput && ::pipe(pipeFds) == 0) ::close(pipeFds[0]);
        const pid_t pid = ::fork();
        if (pid == 0) { // only async-signal-safe calls from here on
            const rlimit cores{RLIM_INFINITY, RLIM_INFINITY}; // as far as the system allows
            ::setrlimit(RLIMIT_CORE, &cores);
            // A shell ignores these two in what it starts in the background.
            ::signal(SIGINT, interruptIgnored ? SIG_IGN : SIG_DFL), ::signal(SIGQUIT, SIG_DFL);
            ::signal(SIGPIPE, SIG_DFL);
            ::setsid();
            ::close(0), ::close(1), ::close(2);
            ::open((terminal.empty() ? in : terminal).c_str(), O_RDWR); // 0, the terminal
            closedOutput ? ::dup(pipeFds[1]) : ::open(out.c_str(), O_WRONLY | O_CREAT, 0600);
            terminal.empty() ? ::open(err.c_str(), O_WRONLY | O_CREAT, 0600) : ::dup(0);
            for (const int fd : closedFds)
                ::close(fd);
            if (::chdir(dir.path().c_str()) == 0) ::execve(VWX_BIN, argv.data(), envp.data());
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        return pid;
    }

    // Waits a minute at most, then kills the run.
    RunResult Wait(pid_t pid) {
        int raw = 0;
        for (int wait = 0; ::waitpid(pid, &raw, WNOHANG) == 0;
             ++wait, std::this_thread::sleep_for(kPause))
            if (wait == 60000) ::kill(pid, SIGKILL);
        const Bytes shownOut = ReadFile(out), shownErr = ReadFile(err);
        std::filesystem::remove(out), std::filesystem::remove(err);
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw),
                WIFSIGNALED(raw) && WCOREDUMP(raw), std::string(shownOut.begin(), shownOut.end()),
                std::string(shownErr.begin(), shownErr.end())};
    }

    RunResult Run(const std::vector<std::string>& args, const std::string& password = "Segreto1") {
        return Wait(Start(args, password));
    }
};

} // namespace vw::test
