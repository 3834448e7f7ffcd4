#include "cli/Arguments.h"

#include "engine/Paths.h"

namespace vw::cli {
namespace {

// Splits "--name=value" into its name and value; hasValue tells whether "=" was there.
void SplitLongOption(const std::string& arg, std::string& name, std::string& value,
                     bool& hasValue) {
    const auto eq = arg.find('=');
    hasValue = eq != std::string::npos;
    name = hasValue ? arg.substr(0, eq) : arg;
    value = hasValue ? arg.substr(eq + 1) : std::string();
}

} // namespace

ParseResult ParseArguments(const std::vector<std::string>& args) {
    ParseResult result;
    Options& o = result.options;
    std::vector<std::string> files;
    bool hasOutput = false;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name, value;
        bool hasValue = false;
        if (arg.rfind("--", 0) == 0) {
            SplitLongOption(arg, name, value, hasValue);
        } else {
            name = arg.substr(0, 2); // "-oPATH" carries its value
            hasValue = arg.size() > 2;
            value = hasValue ? arg.substr(2) : std::string();
        }

        const bool takesValue = name == "-o" || name == "--output" || name == "--password-file";
        if (takesValue && !hasValue) {
            if (i + 1 >= args.size()) {
                result.error = "option " + name + " needs a value";
                return result;
            }
            value = args[++i];
        } else if (!takesValue && hasValue) {
            result.error =
                name.size() == 2 ? "unknown option " + arg : "option " + name + " takes no value";
            return result;
        }

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
            if (hasOutput) {
                result.error = "the output path is given twice";
                return result;
            }
            if (value.empty()) {
                result.error = "the output path is empty";
                return result;
            }
            hasOutput = true;
            o.output = value;
        } else if (name == "--password-file") {
            if (o.hasPasswordFile) {
                result.error = "--password-file is given twice";
                return result;
            }
            if (value.empty()) {
                result.error = "the password file's path is empty";
                return result;
            }
            o.hasPasswordFile = true;
            o.passwordFile = value;
        } else {
            result.error = "unknown option " + name;
            return result;
        }
    }

    if (o.help || o.version) return result;
    if (files.empty()) {
        result.error = "no file given";
    } else if (files.size() > 1) {
        result.error = "one file at a time";
    } else if (files.front().empty()) {
        result.error = "the file's path is empty";
    } else if (o.replace && hasOutput) {
        result.error = "--replace and --output exclude each other";
    } else {
        o.file = files.front();
    }
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
