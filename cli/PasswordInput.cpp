#include "cli/PasswordInput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "cli/Escape.h"
#include "cli/FdWrite.h"
#include "engine/Bytes.h"
#include "engine/Cp1252.h"
#include "engine/PasswordRules.h"

namespace vw::cli {

volatile std::sig_atomic_t Interrupted = 0;

namespace {

enum class LineRead { Line, Ended, Failed, TooLong, Interrupted };

// Appends bytes, moving to a larger buffer by hand so no unwiped copy is left behind.
void AppendSecret(std::string& line, const char* data, std::size_t size) {
    if (line.size() + size > line.capacity()) {
        std::string bigger;
        bigger.reserve((line.size() + size) * 2);
        bigger.append(line);
        SecureWipe(line);
        line.swap(bigger);
    }
    line.append(data, size);
}

// Waits in short steps until fd can be read, so an interrupt that lands just before a wait is
// not missed; false when interrupted or the wait failed.
bool WaitReadable(int fd, LineRead& failure) {
    for (;;) {
        if (Interrupted) {
            failure = LineRead::Interrupted;
            return false;
        }
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, 100);
        if (polled > 0) return true;
        if (polled < 0 && errno != EINTR) {
            failure = LineRead::Failed;
            return false;
        }
    }
}

// Reads a line in blocks, up to a line break or the end, at most kMaxPasswordLine bytes.
// Ended when the input ended before any byte. Bytes read past the line break are dropped.
LineRead ReadSecretLine(int fd, std::string& line) {
    line.clear();
    line.reserve(256);
    char block[4096];
    LineRead result = LineRead::Line;
    for (bool any = false, done = false; !done;) {
        if (!WaitReadable(fd, result)) break;
        const ssize_t n = ::read(fd, block, sizeof block);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            result = n < 0 ? LineRead::Failed : any ? LineRead::Line : LineRead::Ended;
            break;
        }
        any = true;
        const auto size = static_cast<std::size_t>(n);
        const void* brk = std::memchr(block, '\n', size);
        const std::size_t take =
            brk ? static_cast<std::size_t>(static_cast<const char*>(brk) - block) : size;
        done = brk != nullptr;
        if (line.size() + take > kMaxPasswordLine) {
            result = LineRead::TooLong;
            break;
        }
        AppendSecret(line, block, take);
    }
    SecureWipe(block, sizeof block);
    if (result != LineRead::Line) SecureWipe(line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return result;
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

PasswordFileRead ReadPasswordFile(const std::string& path, std::string& line, std::string& error) {
    const bool standardInput = path == "-";
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // Opening a FIFO waits for a writer; an interrupt ends the wait.
        if (Interrupted) return PasswordFileRead::Interrupted;
        error = "cannot open the password file " + path;
        return PasswordFileRead::Failed;
    }
    const LineRead read = ReadSecretLine(fd, line);
    if (!standardInput) ::close(fd);
    switch (read) {
    case LineRead::Line:
    case LineRead::Ended: // an empty file gives an empty password, which the job refuses
        return PasswordFileRead::Read;
    case LineRead::Interrupted:
        return PasswordFileRead::Interrupted;
    case LineRead::TooLong:
        error = "the first line of the password file " + path + " is longer than " +
                std::to_string(kMaxPasswordLine) + " bytes";
        return PasswordFileRead::TooLong;
    case LineRead::Failed:
        break;
    }
    error = "cannot read the password file " + path;
    return PasswordFileRead::Failed;
}

std::string UnusablePasswordText(const std::string& utf8) {
    const std::string outside = CharactersOutsideCp1252(utf8);
    if (outside.empty()) return {};
    constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD
    std::string listed;
    for (std::size_t pos = 0; pos < outside.size();) {
        std::size_t length = 1;
        while (pos + length < outside.size() && (outside[pos + length] & 0xC0) == 0x80)
            ++length;
        listed += (listed.empty() ? "\"" : ", \"") +
                  EscapeControls(std::string_view(outside).substr(pos, length)) + "\"";
        pos += length;
    }
    std::string text = "the password has characters that the Windows-1252 code page cannot "
                       "carry, use others: " +
                       listed;
    if (outside.find(kReplacement) != std::string::npos)
        text += " (\"" + std::string(kReplacement) + "\" stands for bytes that are not UTF-8)";
    return text;
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
        const PasswordVerdict verdict = JudgePassword(*first, *second);
        SecureWipe(*second);
        if (verdict == PasswordVerdict::Accepted) return first;
        // The terminal lists the characters escaped, in the words of vwx's other messages.
        const std::string refusal = verdict == PasswordVerdict::OutsideCodePage
                                        ? UnusablePasswordText(*first)
                                        : PasswordRefusalText(verdict, *first);
        SecureWipe(*first);
        tell(refusal);
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
            if (ReadSecretLine(fd, line) != LineRead::Line) {
                WriteAll(fd, "\n");
                return std::nullopt;
            }
            return line;
        };
        const TellFunction tell = [fd](const std::string& message) {
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
