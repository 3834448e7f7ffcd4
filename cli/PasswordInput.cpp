// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PasswordInput.h"

#include <QCoreApplication>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "cli/FdWrite.h"
#include "engine/io/Bytes.h"
#include "engine/text/Cp1252.h"
#include "engine/text/PasswordRules.h"
#include "platform/JobText.h"

namespace vw::cli {

volatile std::sig_atomic_t Interrupted = 0;

namespace {

constexpr const char* kFirstPrompt = QT_TRANSLATE_NOOP("vwx", "Inserisci la password: ");
constexpr const char* kSecondPrompt = QT_TRANSLATE_NOOP("vwx", "Ripeti password: ");

enum class LineRead { Line, Ended, Failed, TooLong, Cancelled };

// Waits in short steps until fd can be read, so an interrupt that lands just before a wait is
// not missed; false when interrupted or the wait failed.
bool WaitReadable(int fd, LineRead& failure) {
    for (;;) {
        if (Interrupted) {
            failure = LineRead::Cancelled;
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

// Reads a line, up to a line break or the end, at most kMaxPasswordLine bytes, straight into
// line's own buffer: it is reserved whole at once, so growing leaves no copy of the password
// behind. Ended when the input ended before any byte.
LineRead ReadSecretLine(int fd, std::string& line) {
    line.clear();
    line.reserve(kMaxPasswordLine + 1);
    LineRead result = LineRead::Line;
    for (bool any = false; WaitReadable(fd, result);) {
        const std::size_t had = line.size();
        line.resize(kMaxPasswordLine + 1);
        const ssize_t n = ::read(fd, line.data() + had, line.size() - had);
        line.resize(had + (n > 0 ? static_cast<std::size_t>(n) : 0));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            result = n < 0 ? LineRead::Failed : any ? LineRead::Line : LineRead::Ended;
            break;
        }
        any = true;
        if (const std::size_t end = line.find('\n', had); end != std::string::npos) {
            line.resize(end); // what follows the line break is no part of the password
            break;
        }
        if (line.size() > kMaxPasswordLine) {
            result = LineRead::TooLong;
            break;
        }
    }
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

// A text of vwx's with its "%1" replaced by a path.
std::string Words(const char* source, const std::string& path) {
    return QCoreApplication::translate("vwx", source)
        .arg(QString::fromStdString(path))
        .toStdString();
}

} // namespace

PasswordFileRead ReadPasswordFile(const std::string& path, std::string& line, std::string& error) {
    const bool standardInput = path == "-";
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        // Opening a FIFO waits for a writer; an interrupt ends the wait.
        if (Interrupted) return PasswordFileRead::Cancelled;
        error = Words(QT_TRANSLATE_NOOP("vwx", "cannot open the password file %1"), path);
        return PasswordFileRead::Failed;
    }
    const LineRead read = ReadSecretLine(fd, line);
    if (!standardInput) ::close(fd);
    switch (read) {
    case LineRead::Line:
    case LineRead::Ended: // an empty file gives an empty password, which the job refuses
        return PasswordFileRead::Read;
    case LineRead::Cancelled:
        return PasswordFileRead::Cancelled;
    case LineRead::TooLong:
        error = QCoreApplication::translate(
                    "vwx", "the first line of the password file %1 is longer than %2 bytes")
                    .arg(QString::fromStdString(path))
                    .arg(kMaxPasswordLine)
                    .toStdString();
        return PasswordFileRead::TooLong;
    case LineRead::Failed:
        break;
    }
    error = Words(QT_TRANSLATE_NOOP("vwx", "cannot read the password file %1"), path);
    return PasswordFileRead::Failed;
}

std::string UnusablePasswordText(const std::string& utf8) {
    return UnusableSecretText(utf8,
                              QCoreApplication::translate("vwx", "the password").toStdString());
}

std::string UnusableSecretText(const std::string& utf8, const std::string& what) {
    const std::string outside = CharactersOutsideCp1252(utf8);
    if (outside.empty()) return {};
    QString text =
        QCoreApplication::translate(
            "vwx", "%1 has characters that the Windows-1252 code page cannot carry, "
                   "use others: %2")
            .arg(QString::fromStdString(what), QString::fromStdString(CodePointList(outside)));
    if (outside.find("\xEF\xBF\xBD") != std::string::npos) // U+FFFD
        text += QCoreApplication::translate("vwx", " (U+FFFD stands for bytes that are not UTF-8)");
    return text.toStdString();
}

bool AskNewPassword(const AskFunction& ask, const TellFunction& tell, std::string& password) {
    std::string repeated;
    for (;;) {
        if (!ask(kFirstPrompt, password)) return false;
        const bool answered = ask(kSecondPrompt, repeated);
        const PasswordVerdict verdict = JudgePassword(password, repeated);
        SecureWipe(repeated);
        if (answered && verdict == PasswordVerdict::Accepted) return true;
        // The terminal lists the characters escaped, in the words of vwx's other messages.
        const std::string refusal = verdict == PasswordVerdict::OutsideCodePage
                                        ? UnusablePasswordText(password)
                                        : PasswordRefusalText(verdict, password).toStdString();
        SecureWipe(password);
        if (!answered) return false;
        tell(refusal);
    }
}

TerminalAnswer AskOnTerminal(bool confirm, std::string& password) {
    return AskOnTerminal([&](const AskFunction& ask, const TellFunction& tell) {
        return confirm ? AskNewPassword(ask, tell, password) : ask(kFirstPrompt, password);
    });
}

TerminalAnswer AskOnTerminal(const TerminalDialogue& dialogue) {
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return TerminalAnswer::NoTerminal;
    bool given = false;
    {
        EchoOff quiet(fd);
        const AskFunction ask = [fd](const char* prompt, std::string& answer) {
            WriteAll(fd, QCoreApplication::translate("vwx", prompt).toStdString());
            if (ReadSecretLine(fd, answer) == LineRead::Line) return true;
            WriteAll(fd, "\n");
            return false;
        };
        const TellFunction tell = [fd](const std::string& message) {
            WriteAll(fd, message + "\n");
        };
        given = dialogue(ask, tell);
    }
    ::close(fd);
    return given ? TerminalAnswer::Given : TerminalAnswer::GaveUp;
}

} // namespace vw::cli
