// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PrivateCodeCommand.h"

#include <QCoreApplication>
#include <cerrno>
#include <cstring>
#include <unistd.h>

#include "cli/Escape.h"
#include "cli/ExitStatus.h"
#include "cli/FdWrite.h"
#include "engine/cipher/PrivateCode.h"
#include "engine/io/Bytes.h"
#include "engine/text/Cp1252.h"
#include "platform/JobText.h"
#include "platform/QtHost.h"
#include "platform/TextCodec.h"

namespace vw::cli {
namespace {

constexpr const char* kCodePrompt = QT_TRANSLATE_NOOP("vwx", "Private code: ");
constexpr const char* kConfirmPrompt = QT_TRANSLATE_NOOP("vwx", "Confirm private code: ");
const QString kSettingKey = QStringLiteral("OFB");

std::string Text(const char* source) {
    return QCoreApplication::translate("vwx", source).toStdString();
}

// A text with its "%1" replaced by a path's bytes as they are, control characters escaped.
std::string WithPath(const char* source, const std::string& path) {
    std::string text = Text(source);
    if (const std::size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, EscapeControls(path));
    return text;
}

int Tell(int status, const std::string& message) {
    WriteAll(STDERR_FILENO, "vwx: " + message + "\n");
    return status;
}

int Cancelled() {
    return Tell(kPromptCancelled, Text(QT_TRANSLATE_NOOP("vwx", "cancelled; nothing was stored")));
}

// A note on standard output, unless -q; a failure to print it changes nothing that was done.
int Note(const Options& options, const std::string& message) {
    if (!options.quiet && !WriteAll(STDOUT_FILENO, message + "\n"))
        Tell(0, QCoreApplication::translate("vwx", "cannot write to standard output: %1")
                    .arg(SystemErrorText(errno))
                    .toStdString());
    return 0;
}

// A control character of the code page: C0, DEL, and the undefined bytes that stand for C1
// controls.
bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F ||
           byte == 0x90 || byte == 0x9D;
}

// The control characters of a code-page text, each once, escaped; "" when it has none.
std::string ListedControls(const std::string& bytes) {
    std::string listed, seen;
    for (const char c : bytes) {
        if (!IsControl(static_cast<unsigned char>(c)) || seen.find(c) != std::string::npos)
            continue;
        seen += c;
        listed += (listed.empty() ? "\"" : ", \"") + EscapeControls(Cp1252ToUtf8({&c, 1})) + "\"";
    }
    return listed;
}

// A byte order mark that an editor put before the text is no part of it.
void DropByteOrderMark(std::string& line) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    if (line.compare(0, kMark.size(), kMark) != 0) return;
    SecureWipe(line.data(), kMark.size());
    line.erase(0, kMark.size());
}

// The code from the first line of the file the options name; the exit status when there is
// none.
int CodeFromFile(const std::string& path, std::string& code) {
    std::string error; // told in vwx's words for a code, not a password
    switch (ReadPasswordFile(path, code, error)) {
    case PasswordFileRead::Read:
        DropByteOrderMark(code);
        return 0;
    case PasswordFileRead::Cancelled:
        return Cancelled();
    case PasswordFileRead::TooLong:
        return Tell(kCodeRefused,
                    WithPath(QT_TRANSLATE_NOOP("vwx", "the first line of %1 is too long for a "
                                                      "private code"),
                             path));
    case PasswordFileRead::Failed:
        break;
    }
    return Tell(kUsageError,
                WithPath(QT_TRANSLATE_NOOP("vwx", "cannot read the private code file %1"), path));
}

int CodeFromTerminal(std::string& code) {
    switch (AskOnTerminal([&code](const AskFunction& ask, const TellFunction& tell) {
        return AskNewPrivateCode(ask, tell, code);
    })) {
    case TerminalAnswer::Given:
        return 0;
    case TerminalAnswer::GaveUp:
        return Cancelled();
    case TerminalAnswer::NoTerminal:
        break;
    }
    return Tell(kUsageError, Text(QT_TRANSLATE_NOOP("vwx", "no terminal to ask the private code "
                                                           "on; use --private-code-file")));
}

int Store(QtHost& host, const Options& options) {
    const std::string file = host.SettingsFilePath().toStdString();
    if (!host.ReadText(kSettingKey, {}).isEmpty() && !options.force)
        return Tell(kCannotCreate,
                    WithPath(QT_TRANSLATE_NOOP("vwx", "a private code is stored already in %1; "
                                                      "-f replaces it, and the files protected "
                                                      "with it then no longer open"),
                             file));
    std::string typed;
    const int asked = options.privateCodeFile.empty()
                          ? CodeFromTerminal(typed)
                          : CodeFromFile(options.privateCodeFile, typed);
    if (asked != 0) return asked;
    if (std::string refusal = PrivateCodeRefusal(typed); !refusal.empty()) {
        SecureWipe(typed);
        return Tell(kCodeRefused, refusal);
    }
    std::string code = Utf8ToCp1252(typed);
    SecureWipe(typed);
    // What the file gives back decides: a write may report a failure and have written.
    const bool written =
        host.StoreText(kSettingKey, QString::fromLatin1(EncryptPrivateCode(host, code)));
    std::string readBack = ReadPrivateCode(host);
    const bool stored = readBack == code;
    SecureWipe(readBack);
    SecureWipe(code);
    if (!stored && !written)
        return Tell(kSettingsFailed,
                    WithPath(QT_TRANSLATE_NOOP("vwx", "cannot write the settings file %1; "
                                                      "nothing was stored"),
                             file));
    if (!stored)
        return Tell(kSettingsFailed,
                    WithPath(QT_TRANSLATE_NOOP("vwx", "the settings file %1 does not give the "
                                                      "stored private code back"),
                             file));
    return Note(options, WithPath(QT_TRANSLATE_NOOP("vwx", "private code stored in %1"), file));
}

int Forget(QtHost& host, const Options& options) {
    const std::string file = host.SettingsFilePath().toStdString();
    const bool stored = !host.ReadText(kSettingKey, {}).isEmpty();
    // What the file gives back decides, as for a store.
    const bool removed = host.RemoveSetting(kSettingKey);
    if (!host.ReadText(kSettingKey, {}).isEmpty())
        return Tell(kSettingsFailed,
                    WithPath(removed ? QT_TRANSLATE_NOOP("vwx", "the settings file %1 still holds "
                                                                "a private code")
                                     : QT_TRANSLATE_NOOP("vwx", "cannot write the settings file "
                                                                "%1; the private code stays"),
                             file));
    if (!stored) return Note(options, Text(QT_TRANSLATE_NOOP("vwx", "no private code was stored")));
    return Note(options, Text(QT_TRANSLATE_NOOP("vwx", "private code forgotten: files protected "
                                                       "with it no longer open until it is "
                                                       "stored again")));
}

} // namespace

bool IsPrivateCodeOption(const std::string& name) {
    return name == kStoreOption || name == kForgetOption || name == kPrivateCodeFileOption;
}

std::string ApplyPrivateCodeOption(const std::string& name, const std::string& value,
                                   Options& options) {
    if (name == kStoreOption) {
        options.storePrivateCode = true;
    } else if (name == kForgetOption) {
        options.forgetPrivateCode = true;
    } else if (!options.privateCodeFile.empty()) {
        return Text(QT_TRANSLATE_NOOP("vwx", "--private-code-file is given twice"));
    } else if (value.empty()) {
        return Text(QT_TRANSLATE_NOOP("vwx", "the private code file's path is empty"));
    } else {
        options.privateCodeFile = value;
    }
    return {};
}

bool PrivateCodeCommandGiven(const Options& options) {
    return options.storePrivateCode || options.forgetPrivateCode ||
           !options.privateCodeFile.empty();
}

std::string PrivateCodeCommandError(const std::vector<std::string>& files, const Options& options) {
    if (options.storePrivateCode && options.forgetPrivateCode)
        return Text(QT_TRANSLATE_NOOP(
            "vwx", "--store-private-code and --forget-private-code exclude each other"));
    if (!options.storePrivateCode && !options.privateCodeFile.empty())
        return Text(
            QT_TRANSLATE_NOOP("vwx", "--private-code-file goes with --store-private-code only"));
    const bool jobOptions = options.test || options.protect || options.restore ||
                            !options.output.empty() || options.replace ||
                            !options.passwordFile.empty() || options.noPrivateCode;
    if (!files.empty() || jobOptions)
        return WithPath(QT_TRANSLATE_NOOP("vwx", "%1 runs no job: it takes no FILE and none of "
                                                 "-t, -e, -d, -o, --replace, --password-file, "
                                                 "--no-private-code"),
                        options.storePrivateCode ? kStoreOption : kForgetOption);
    return {};
}

std::string PrivateCodeRefusal(const std::string& utf8) {
    if (utf8.empty())
        return Text(QT_TRANSLATE_NOOP("vwx", "the private code is empty; nothing was stored "
                                             "(--forget-private-code removes a stored one)"));
    std::string outside =
        UnusableSecretText(utf8, Text(QT_TRANSLATE_NOOP("vwx", "the private code")));
    if (!outside.empty()) return outside;
    std::string bytes = Utf8ToCp1252(utf8);
    const std::string controls = ListedControls(bytes);
    const std::size_t length = bytes.size();
    SecureWipe(bytes);
    if (!controls.empty())
        return Text(QT_TRANSLATE_NOOP("vwx", "the private code has control characters, use "
                                             "printable ones: ")) +
               controls;
    if (length > kMaxPrivateCode)
        return Text(QT_TRANSLATE_NOOP("vwx", "the private code is longer than 16383 characters"));
    return {};
}

bool AskNewPrivateCode(const AskFunction& ask, const TellFunction& tell, std::string& code) {
    std::string repeated;
    for (;;) {
        if (!ask(kCodePrompt, code)) return false;
        const bool answered = ask(kConfirmPrompt, repeated);
        const bool same = answered && repeated == code;
        SecureWipe(repeated);
        if (!answered) {
            SecureWipe(code);
            return false;
        }
        const std::string refusal =
            same ? PrivateCodeRefusal(code)
                 : Text(QT_TRANSLATE_NOOP("vwx", "the two private codes do not match"));
        if (refusal.empty()) return true;
        SecureWipe(code);
        tell(refusal);
    }
}

int RunPrivateCodeCommand(const Options& options) {
    QtHost host;
    return options.forgetPrivateCode ? Forget(host, options) : Store(host, options);
}

std::string PrivateCodeHelpText() {
    return Text(QT_TRANSLATE_NOOP(
        "vwx", "\n"
               "The private crypto code is a second key beside the password, kept in your\n"
               "settings and bound to this computer's name. vwx keys every job with it, and so\n"
               "does the desktop program once restarted.\n"
               "\n"
               "  vwx --store-private-code [-f] [-q] [--private-code-file F]\n"
               "      asks for the code twice on the terminal, or takes the first line of F\n"
               "      (\"-\" reads standard input), and stores it; -f replaces a stored code\n"
               "  vwx --forget-private-code [-q]\n"
               "      removes the stored code\n"
               "\n"
               "Files protected with a private code cannot be restored without it: keep a\n"
               "copy of the code before you forget or replace it.\n"
               "Exit status of these two: 0 when done, 64 on a usage error (also: no terminal\n"
               "to ask on, an unreadable code file), 65 when the code cannot be stored as\n"
               "given, 73 when a code is stored already (without -f), 74 when the settings\n"
               "file cannot be written, 130 when the prompt is cancelled.\n"));
}

} // namespace vw::cli
