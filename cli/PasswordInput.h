#pragma once
// Where vwx gets its password: a file's first line, the environment, or the terminal.
#include <csignal>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vw::cli {

// Set by the interrupt handler; stops a prompt.
extern volatile std::sig_atomic_t Interrupted;

// The text up to the first line break, without it (LF or CR LF).
std::string FirstLine(std::string_view text);

// The first line of a file ("-" reads standard input); nullopt with error set on failure.
std::optional<std::string> ReadPasswordFile(const std::string& path, std::string& error);

// Asks until the two answers agree and the password is acceptable, telling each refusal.
// ask returns nullopt when the user gives up (end of input or interrupt).
using AskFunction = std::function<std::optional<std::string>(const char* prompt)>;
using TellFunction = std::function<void(const char* message)>;
std::optional<std::string> AskNewPassword(const AskFunction& ask, const TellFunction& tell);

enum class TerminalAnswer { Given, GaveUp, NoTerminal };

// Reads the password on the controlling terminal without echo; twice when confirm is true.
TerminalAnswer AskOnTerminal(bool confirm, std::string& password);

} // namespace vw::cli
