// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PasswordSource.h"

#include <QCoreApplication>

#include <cstdlib>
#include <unistd.h>

#include "cli/ExitStatus.h"
#include "cli/PasswordInput.h"
#include "engine/cipher/Cipher.h"
#include "engine/io/Bytes.h"
#include "engine/job/StatusCodes.h"
#include "engine/text/Cp1252.h"
#include "platform/JobText.h"

namespace vw::cli {
namespace {

std::optional<Refusal> FromFile(const std::string& path, const Refusal& cancelled,
                                std::string& typed) {
    std::string error;
    switch (ReadPasswordFile(path, typed, error)) {
    case PasswordFileRead::Read:
        return std::nullopt;
    case PasswordFileRead::TooLong:
        return Refusal{kStatusPasswordTooShort, error};
    case PasswordFileRead::Cancelled:
        return cancelled;
    case PasswordFileRead::Failed:
        break;
    }
    return Refusal{kUsageError, error};
}

std::optional<Refusal> FromTerminal(bool protecting, const Refusal& cancelled, std::string& typed) {
    switch (AskOnTerminal(protecting, typed)) {
    case TerminalAnswer::Given:
        return std::nullopt;
    case TerminalAnswer::GaveUp:
        return cancelled;
    case TerminalAnswer::NoTerminal:
        break;
    }
    return Refusal{kUsageError,
                   QCoreApplication::translate(
                       "vwx", "no terminal to ask the password on; use --password-file or %1")
                       .arg(QString::fromLatin1(kPasswordVariable))
                       .toStdString()};
}

} // namespace

std::optional<Refusal> ObtainPassword(const Options& options, bool protecting, std::string& typed) {
    const int cancelStatus = protecting ? kStatusProtectCancelled : kStatusRestoreCancelled;
    const Refusal cancelled{cancelStatus,
                            StatusText(static_cast<std::int16_t>(cancelStatus)).toStdString()};
    std::optional<Refusal> refusal;
    // Standard input that is the terminal: asked there as without the option, never echoed.
    const bool typedHere = options.passwordFile == "-" && ::isatty(STDIN_FILENO);
    if (typedHere)
        refusal = FromTerminal(protecting, cancelled, typed);
    else if (!options.passwordFile.empty())
        refusal = FromFile(options.passwordFile, cancelled, typed);
    else if (const char* given = std::getenv(kPasswordVariable))
        typed = given;
    else
        refusal = FromTerminal(protecting, cancelled, typed);
    if (refusal) return refusal;

    std::string unusable = UnusablePasswordText(typed);
    if (unusable.empty()) return std::nullopt;
    SecureWipe(typed);
    return Refusal{kStatusPasswordTooShort, unusable};
}

std::string LongPasswordWarning(const std::string& typed) {
    const std::size_t keyed = Cipher::kKeyedPasswordBytes;
    if (Utf8ToCp1252(typed).size() <= keyed) return {};
    return QCoreApplication::translate("vwx", "warning: only the first %1 characters of the "
                                              "password are used; the rest adds nothing")
        .arg(keyed)
        .toStdString();
}

} // namespace vw::cli
