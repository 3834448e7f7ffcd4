// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where vwx gets its password: a file's first line, the environment, or the terminal.
#include <csignal>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace vw::cli {

// Set by the interrupt handler; stops a prompt.
extern volatile std::sig_atomic_t Interrupted;

// The longest line taken as a password; a longer one is not a password.
constexpr std::size_t kMaxPasswordLine = 64 * 1024;

enum class PasswordFileRead { Read, Failed, TooLong, Cancelled }; // Cancelled: interrupted

// The first line of a file ("-" reads standard input) into line; error tells why otherwise.
PasswordFileRead ReadPasswordFile(const std::string& path, std::string& line, std::string& error);

// Why a password given as UTF-8 cannot be used as it is: the characters that the code page
// cannot carry, shown escaped; "" when it converts faithfully.
std::string UnusablePasswordText(const std::string& utf8);
// The same for any secret text, named by what ("the password", "the private code").
std::string UnusableSecretText(const std::string& utf8, const std::string& what);

// Asks for a new password into password (UTF-8) until the two answers agree and the password
// rules accept it, telling each refusal. ask fills answer, or leaves it empty and returns false
// when the user gives up (end of input or interrupt). The second answer is wiped as soon as it
// is judged, password when it is refused or the user gives up (false then).
using AskFunction = std::function<bool(const char* prompt, std::string& answer)>;
using TellFunction = std::function<void(const std::string& message)>;
bool AskNewPassword(const AskFunction& ask, const TellFunction& tell, std::string& password);

enum class TerminalAnswer { Given, GaveUp, NoTerminal };

// Reads the password on the controlling terminal without echo; twice when confirm is true.
TerminalAnswer AskOnTerminal(bool confirm, std::string& password);
// Runs a dialogue on the controlling terminal with echo off: it asks and tells through the two
// functions and returns false when the user gave up.
using TerminalDialogue = std::function<bool(const AskFunction& ask, const TellFunction& tell)>;
TerminalAnswer AskOnTerminal(const TerminalDialogue& dialogue);

} // namespace vw::cli
