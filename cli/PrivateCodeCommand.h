// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// vwx --store-private-code and --forget-private-code: the private crypto code in the user's
// settings, written in the form both programs read at their start, and removed again.
#include <cstddef>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/PasswordInput.h"

namespace vw::cli {

inline constexpr const char* kStoreOption = "--store-private-code";
inline constexpr const char* kForgetOption = "--forget-private-code";
inline constexpr const char* kPrivateCodeFileOption = "--private-code-file";

// The longest code stored: its stored form (two digits a character) stays within 32766
// characters, as every reader of the setting takes it.
constexpr std::size_t kMaxPrivateCode = 16383;

// Exit statuses of the two commands besides 0, kUsageError and kCannotCreate (a code is stored
// already).
constexpr int kCodeRefused = 65;      // EX_DATAERR: the code cannot be stored as given
constexpr int kSettingsFailed = 74;   // EX_IOERR: the settings file cannot be written
constexpr int kPromptCancelled = 130; // Ctrl-C or the end of input at the prompt

bool IsPrivateCodeOption(const std::string& name);
// Records a private-code option in options; returns the error, "" when taken.
std::string ApplyPrivateCodeOption(const std::string& name, const std::string& value,
                                   Options& options);
// Whether the command line asks for either command (or names a code file).
bool PrivateCodeCommandGiven(const Options& options);
// Why such a command line is a usage error, given its FILE operands; "" when it is valid.
std::string PrivateCodeCommandError(const std::vector<std::string>& files, const Options& options);

// Why a code given as UTF-8 cannot be stored (empty, characters the code page cannot carry,
// control characters, too long); "" when it can.
std::string PrivateCodeRefusal(const std::string& utf8);

// Asks for the code twice until the answers agree and the code can be stored, telling each
// refusal; wipes every refused answer. False when the user gives up (code wiped then).
bool AskNewPrivateCode(const AskFunction& ask, const TellFunction& tell, std::string& code);

// Stores or forgets the code as the options say; returns the exit status.
int RunPrivateCodeCommand(const Options& options);

// The two commands' part of vwx --help.
std::string PrivateCodeHelpText();

} // namespace vw::cli
