#include "cli/PasswordInput.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "engine/Bytes.h"
#include "engine/Cp1252.h"
#include "engine/Driver.h"

namespace vw::cli {

volatile std::sig_atomic_t Interrupted = 0;

namespace {

constexpr const char* kMismatch = "Le password non conincidono";
constexpr const char* kTooShort = "Password troppo corta";

// Appends one byte, moving to a larger buffer by hand so no unwiped copy is left behind.
void AppendSecret(std::string& line, char c) {
    if (line.size() == line.capacity()) {
        std::string bigger;
        bigger.reserve(line.capacity() * 2 + 64);
        bigger.append(line);
        SecureWipe(line);
        line.swap(bigger);
    }
    line.push_back(c);
}

// Reads bytes up to a line break or the end; false when the input ended before any byte or
// a read failed or was interrupted.
bool ReadSecretLine(int fd, std::string& line) {
    line.clear();
    line.reserve(256);
    bool any = false;
    for (;;) {
        // Waits in short steps, so an interrupt that lands just before a wait is not missed.
        if (Interrupted) {
            errno = EINTR;
            return false;
        }
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, 100);
        if (polled < 0 && errno != EINTR) return false;
        if (polled <= 0) continue;
        char c;
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return any;
        any = true;
        if (c == '\n') break;
        AppendSecret(line, c);
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

void WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Turns echo off on a terminal for the life of the object.
class EchoOff {
  public:
    explicit EchoOff(int fd) : fd_(fd) {
        if (::tcgetattr(fd_, &saved_) != 0) return;
        termios quiet = saved_;
        quiet.c_lflag &= static_cast<tcflag_t>(~ECHO);
        quiet.c_lflag |= ECHONL;
        active_ = ::tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (active_) ::tcsetattr(fd_, TCSAFLUSH, &saved_);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

  private:
    int fd_;
    termios saved_{};
    bool active_ = false;
};

} // namespace

std::string FirstLine(std::string_view text) {
    const auto end = text.find('\n');
    std::string line(text.substr(0, end));
    if (end != std::string_view::npos && !line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> ReadPasswordFile(const std::string& path, std::string& error) {
    const bool standardInput = path == "-";
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open the password file " + path;
        return std::nullopt;
    }
    std::string line;
    errno = 0;
    const bool got = ReadSecretLine(fd, line);
    const bool failed = !got && errno != 0;
    if (!standardInput) ::close(fd);
    if (failed) {
        SecureWipe(line);
        error = "cannot read the password file " + path;
        return std::nullopt;
    }
    return line; // an empty file gives an empty password, which the job refuses
}

std::optional<std::string> AskNewPassword(const AskFunction& ask, const TellFunction& tell) {
    for (;;) {
        std::optional<std::string> first = ask("Inserisci la password: ");
        if (!first) return std::nullopt;
        std::optional<std::string> second = ask("Ripeti password: ");
        if (!second) {
            SecureWipe(*first);
            return std::nullopt;
        }
        const bool same = *first == *second && !first->empty();
        SecureWipe(*second);
        if (!same) {
            SecureWipe(*first);
            tell(kMismatch);
            continue;
        }
        std::string bytes = Utf8ToCp1252(*first);
        const bool acceptable = IsAcceptablePassword(bytes);
        SecureWipe(bytes);
        if (!acceptable) {
            SecureWipe(*first);
            tell(kTooShort);
            continue;
        }
        return first;
    }
}

TerminalAnswer AskOnTerminal(bool confirm, std::string& password) {
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return TerminalAnswer::NoTerminal;
    std::optional<std::string> answer;
    {
        EchoOff quiet(fd);
        const AskFunction ask = [fd](const char* prompt) -> std::optional<std::string> {
            WriteAll(fd, prompt);
            std::string line;
            if (!ReadSecretLine(fd, line)) {
                SecureWipe(line);
                WriteAll(fd, "\n");
                return std::nullopt;
            }
            return line;
        };
        const TellFunction tell = [fd](const char* message) {
            WriteAll(fd, message);
            WriteAll(fd, "\n");
        };
        answer = confirm ? AskNewPassword(ask, tell) : ask("Inserisci la password: ");
    }
    ::close(fd);
    if (!answer) return TerminalAnswer::GaveUp;
    password.swap(*answer);
    SecureWipe(*answer);
    return TerminalAnswer::Given;
}

} // namespace vw::cli
