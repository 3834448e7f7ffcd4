#pragma once
// Runs the real vwx binary for end-to-end tests: a scratch home so no real user settings are
// read or written, a clean environment, and a new session so it has no terminal of its own
// unless a test gives it one.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempDir.h"

namespace vw::test {

struct RunResult {
    int status = -1; // exit status, or 128 + signal number
    bool coreDumped = false;
    std::string out;
    std::string err;
};

inline std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class VwxProcess {
  public:
    VwxProcess() { std::filesystem::create_directories(ConfigDir()); }

    std::string ConfigDir() const { return home_ / ".config"; }

    // When set, standard error goes to the terminal given to Start as well.
    bool stderrOnTerminal = false;
    // When set, standard output goes to this descriptor instead of a file.
    int stdoutFd = -1;
    // When set, vwx starts in this folder.
    std::string workDir;

    // Writes the per-user settings the tool reads ("vaultwise", group "Config").
    void WriteSettings(const std::string& text) const {
        std::filesystem::create_directories(ConfigDir() + "/vaultwise");
        std::ofstream(ConfigDir() + "/vaultwise/vaultwise.conf", std::ios::binary) << text;
    }

    // Starts vwx; stdinPath becomes its standard input and ttyPath, when given, its
    // controlling terminal (opened as standard input instead).
    pid_t Start(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                const std::string& stdinPath = "/dev/null", const std::string& ttyPath = "") {
        std::vector<std::string> argStrings{VWX_BIN};
        argStrings.insert(argStrings.end(), args.begin(), args.end());
        std::vector<std::string> envStrings{"HOME=" + home_.path().string(),
                                            "XDG_CONFIG_HOME=" + ConfigDir(), "LANG=C.UTF-8"};
        envStrings.insert(envStrings.end(), env.begin(), env.end());
        std::vector<char*> argv, envp;
        for (auto& a : argStrings)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        for (auto& e : envStrings)
            envp.push_back(e.data());
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        const std::string in = ttyPath.empty() ? stdinPath : ttyPath;
        posix_spawn_file_actions_addopen(&actions, 0, in.c_str(), O_RDWR, 0);
        if (stdoutFd >= 0)
            posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
        else
            posix_spawn_file_actions_addopen(&actions, 1, OutPath().c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (!workDir.empty()) posix_spawn_file_actions_addchdir_np(&actions, workDir.c_str());
        if (stderrOnTerminal && !ttyPath.empty())
            posix_spawn_file_actions_adddup2(&actions, 0, 2);
        else
            posix_spawn_file_actions_addopen(&actions, 2, ErrPath().c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
        pid_t pid = -1;
        const int rc = posix_spawn(&pid, argv[0], &actions, &attr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
        if (rc != 0) throw std::runtime_error("cannot start vwx");
        return pid;
    }

    RunResult Wait(pid_t pid) {
        int raw = 0;
        // A stuck run ends the test instead of hanging it.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        pid_t done;
        while ((done = ::waitpid(pid, &raw, WNOHANG)) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                ::kill(pid, SIGKILL);
                ::waitpid(pid, &raw, 0);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        RunResult r;
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        r.coreDumped = WIFSIGNALED(raw) && WCOREDUMP(raw);
        r.out = stdoutFd >= 0 ? std::string() : Slurp(OutPath());
        r.err = Slurp(ErrPath());
        return r;
    }

    RunResult Run(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
                  const std::string& stdinPath = "/dev/null") {
        return Wait(Start(args, env, stdinPath));
    }

  private:
    std::string OutPath() const { return home_ / "stdout"; }
    std::string ErrPath() const { return home_ / "stderr"; }

    TempDir home_;
};

} // namespace vw::test
