#include "cli/Arguments.h"

#include "engine/Paths.h"

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
    return name == "-o" || name == "--output" || name == "--password-file";
}

// A path that may be given once and may not be empty; returns the error, "" when taken.
std::string SetPathOnce(std::string& field, const std::string& value, const char* givenTwice,
                        const char* empty) {
    if (!field.empty()) return givenTwice;
    if (value.empty()) return empty;
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
    } else if (name == "-o" || name == "--output") {
        return SetPathOnce(o.output, option.value, "the output path is given twice",
                           "the output path is empty");
    } else if (name == "--password-file") {
        return SetPathOnce(o.passwordFile, option.value, "--password-file is given twice",
                           "the password file's path is empty");
    } else {
        return "unknown option " + name;
    }
    return {};
}

// The checks that need the whole command line; returns the error, "" when it is valid.
std::string Complete(const std::vector<std::string>& files, Options& o) {
    if (o.help || o.version) return {};
    if (files.empty()) return "no file given";
    if (files.size() > 1) return "one file at a time";
    if (files.front().empty()) return "the file's path is empty";
    if (o.replace && !o.output.empty()) return "--replace and --output exclude each other";
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
                result.error = "option " + option.name + " needs a value";
            } else if (!takesValue && option.hasValue) {
                result.error = option.name.size() == 2
                                   ? "unknown option " + arg
                                   : "option " + option.name + " takes no value";
            }
            if (result.ok()) result.error = Apply(option, result.options);
        }
    }
    if (result.ok()) result.error = Complete(files, result.options);
    return result;
}

std::string OutputPathFor(const Options& options) {
    if (options.replace) return options.file;
    if (!options.output.empty()) return options.output;
    const std::string stem = WithoutExtension(options.file);
    std::string beside = stem + ".out";
    if (beside == options.file) beside = stem + ".output";
    return beside;
}

std::string ProtectResultPath(const Options& options) {
    return WithoutExtension(OutputPathFor(options)) + ".vwx";
}

std::string UsageLine() {
    return "usage: vwx [-o PATH | --replace] [-f] [--password-file FILE] [--no-private-code] FILE";
}

std::string HelpText() {
    return UsageLine() + "\n"
                         "\n"
                         "Protects FILE into a .vwx file, or restores a protected file (one whose\n"
                         "name contains \"vwx\") under its stored extension.\n"
                         "\n"
                         "  -o, --output PATH     write to PATH, with its extension replaced by\n"
                         "                        .vwx or by the stored extension\n"
                         "      --replace         the result replaces FILE (and no other file)\n"
                         "  -f, --force           replace an existing file at the result's path\n"
                         "      --password-file F take the password from the first line of F\n"
                         "                        (\"-\" reads standard input)\n"
                         "      --no-private-code leave the stored private crypto code out\n"
                         "  -h, --help            show this help\n"
                         "      --version         show the version\n"
                         "\n"
                         "Without -o the result is written beside FILE. An existing file is never\n"
                         "replaced without -f, except FILE itself with --replace. The password is\n"
                         "asked on the terminal unless --password-file or VWX_PASSWORD gives it.\n"
                         "Exit status: 0 on success, the job's status code on failure (3: the\n"
                         "password is not acceptable), 64 on a usage error, 73 when the result\n"
                         "would replace an existing file.\n";
}

} // namespace vw::cli
