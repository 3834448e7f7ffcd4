// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Arguments.h"

#include <QCoreApplication>

#include "cli/PrivateCodeCommand.h"
#include "engine/format/FileKind.h"
#include "engine/io/Paths.h"

namespace vw::cli {
namespace {

struct Option {
    std::string name;
    std::string value;
    bool hasValue = false;
};

// "--name=value" or "--name"; "-x" or "-xVALUE", since a short option carries its value.
Option SplitOption(const std::string& arg) {
    const bool isLong = arg.rfind("--", 0) == 0;
    const std::size_t cut = isLong ? arg.find('=') : arg.size() > 2 ? 2 : std::string::npos;
    Option option;
    option.hasValue = cut != std::string::npos;
    option.name = arg.substr(0, cut);
    if (option.hasValue) option.value = arg.substr(isLong ? cut + 1 : cut);
    return option;
}

bool TakesValue(const std::string& name) {
    return name == "-o" || name == "--output" || name == "--password-file" ||
           name == kPrivateCodeFileOption;
}

// A path that may be given once and may not be empty; returns the error, "" when taken.
std::string SetPathOnce(std::string& field, const std::string& value, const char* givenTwice,
                        const char* empty) {
    if (!field.empty()) return QCoreApplication::translate("vwx", givenTwice).toStdString();
    if (value.empty()) return QCoreApplication::translate("vwx", empty).toStdString();
    field = value;
    return {};
}

// Records one option in o; returns the error, "" when the option is known.
std::string Apply(const Option& option, Options& o) {
    const std::string& name = option.name;
    if (name == "-h" || name == "--help") {
        o.help = true;
    } else if (name == "--version") {
        o.version = true;
    } else if (name == "-f" || name == "--force") {
        o.force = true;
    } else if (name == "--replace") {
        o.replace = true;
    } else if (name == "--no-private-code") {
        o.noPrivateCode = true;
    } else if (name == "-t" || name == "--test") {
        o.test = true;
    } else if (name == "-e" || name == "--protect") {
        o.protect = true;
    } else if (name == "-d" || name == "--restore") {
        o.restore = true;
    } else if (name == "-q" || name == "--quiet") {
        o.quiet = true;
    } else if (name == "-o" || name == "--output") {
        return SetPathOnce(o.output, option.value,
                           QT_TRANSLATE_NOOP("vwx", "the output path is given twice"),
                           QT_TRANSLATE_NOOP("vwx", "the output path is empty"));
    } else if (name == "--password-file") {
        return SetPathOnce(o.passwordFile, option.value,
                           QT_TRANSLATE_NOOP("vwx", "--password-file is given twice"),
                           QT_TRANSLATE_NOOP("vwx", "the password file's path is empty"));
    } else if (IsPrivateCodeOption(name)) {
        return ApplyPrivateCodeOption(name, option.value, o);
    } else {
        return QCoreApplication::translate("vwx", "unknown option %1")
            .arg(QString::fromStdString(name))
            .toStdString();
    }
    return {};
}

// The checks that need the whole command line; returns the error, "" when it is valid.
std::string Complete(const std::vector<std::string>& files, Options& o) {
    const auto text = [](const char* source) {
        return QCoreApplication::translate("vwx", source).toStdString();
    };
    if (o.help || o.version) return {};
    if (PrivateCodeCommandGiven(o)) return PrivateCodeCommandError(files, o);
    if (files.empty()) return text(QT_TRANSLATE_NOOP("vwx", "no file given"));
    for (const std::string& file : files)
        if (file.empty()) return text(QT_TRANSLATE_NOOP("vwx", "the file's path is empty"));
    if (o.replace && !o.output.empty())
        return text(QT_TRANSLATE_NOOP("vwx", "--replace and --output exclude each other"));
    if (files.size() > 1 && !o.output.empty())
        return text(QT_TRANSLATE_NOOP("vwx", "--output takes one file only"));
    if (o.protect && o.restore)
        return text(QT_TRANSLATE_NOOP("vwx", "--protect and --restore exclude each other"));
    if (o.test && o.protect)
        return text(QT_TRANSLATE_NOOP("vwx", "--test and --protect exclude each other"));
    if (o.test && (o.replace || !o.output.empty()))
        return text(QT_TRANSLATE_NOOP(
            "vwx", "--test writes nothing: it takes neither --output nor --replace"));
    o.files = files;
    o.file = files.front();
    return {};
}

} // namespace

ParseResult ParseArguments(const std::vector<std::string>& args) {
    ParseResult result;
    std::vector<std::string> files;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size() && result.ok(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
        } else if (arg == "--") {
            optionsEnded = true;
        } else {
            Option option = SplitOption(arg);
            const bool takesValue = TakesValue(option.name);
            if (takesValue && !option.hasValue && i + 1 < args.size()) {
                option.value = args[++i];
            } else if (takesValue && !option.hasValue) {
                result.error = QCoreApplication::translate("vwx", "option %1 needs a value")
                                   .arg(QString::fromStdString(option.name))
                                   .toStdString();
            } else if (!takesValue && option.hasValue) {
                const bool isShort = option.name.size() == 2;
                result.error =
                    QCoreApplication::translate("vwx", isShort ? "unknown option %1"
                                                               : "option %1 takes no value")
                        .arg(QString::fromStdString(isShort ? arg : option.name))
                        .toStdString();
            }
            if (result.ok()) result.error = Apply(option, result.options);
        }
    }
    if (result.ok()) result.error = Complete(files, result.options);
    return result;
}

bool Protecting(const Options& options) {
    if (options.test || options.restore) return false;
    return options.protect || DetectFileKind(options.file) == FileKind::Plain;
}

std::string OutputPathFor(const Options& options) {
    if (options.replace) return options.file;
    // -o naming the source itself writes beside it, as without -o: only --replace deletes it.
    if (!options.output.empty() && options.output != options.file) return options.output;
    const std::string stem = WithoutExtension(options.file);
    std::string beside = stem + ".out";
    if (beside == options.file) beside = stem + ".output";
    return beside;
}

std::string ProtectResultPath(const Options& options) {
    return WithoutExtension(OutputPathFor(options)) + ".vwx";
}

std::string UsageLine() {
    return QCoreApplication::translate("vwx",
                                       "usage: vwx [-t | -e | -d] [-o PATH | --replace] [-f] [-q] "
                                       "[--password-file FILE] [--no-private-code] FILE...")
        .toStdString();
}

std::string HelpText() {
    return UsageLine() + "\n\n" +
           QCoreApplication::translate(
               "vwx",
               "Protects each FILE into a .vwx file, or restores a protected file (one whose\n"
               "name contains \"vwx\") under its stored extension. The files are handled one\n"
               "after the other with one password.\n"
               "\n"
               "  -t, --test            restore without writing anything: the password and\n"
               "                        the data are checked; prints \"FILE: ok\" or\n"
               "                        \"FILE: reason\" for each FILE\n"
               "  -e, --protect         protect FILE even when its name contains \"vwx\"\n"
               "  -d, --restore         restore FILE even when its name lacks \"vwx\"\n"
               "  -o, --output PATH     write to PATH, with its extension replaced by\n"
               "                        .vwx or by the stored extension (one FILE only)\n"
               "      --replace         the result replaces FILE (and no other file)\n"
               "  -f, --force           replace an existing file at the result's path\n"
               "  -q, --quiet           print errors only: no written paths, no \"ok\"\n"
               "                        lines, no progress\n"
               "      --password-file F take the password from the first line of F\n"
               "                        (\"-\" reads standard input)\n"
               "      --no-private-code leave the stored private crypto code out\n"
               "  -h, --help            show this help\n"
               "      --version         show the version\n"
               "\n"
               "Without -o the result is written beside FILE and its path printed on\n"
               "standard output. An existing file is never replaced without -f, except FILE\n"
               "itself with --replace. The password is asked on the terminal (twice when a\n"
               "file is protected) unless --password-file or VWX_PASSWORD gives it. On a\n"
               "terminal, standard error shows each file's progress. A file that fails does\n"
               "not stop the others; Ctrl-C stops the running job, which writes nothing, and\n"
               "the files after it.\n"
               "Exit status: 0 when every file succeeded, else the status of the first file\n"
               "that failed, in the order given: the job's status code (3: the password is\n"
               "not acceptable; 23: wrong password or damaged file), 64 on a usage error, 73\n"
               "when the result would replace an existing file.\n")
               .toStdString() +
           PrivateCodeHelpText();
}

} // namespace vw::cli
