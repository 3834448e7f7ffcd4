// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command line of vwx, parsed without side effects.
#include <string>
#include <vector>

namespace vw::cli {

struct Options {
    std::string file;         // the file of the job at hand (the first FILE once parsed)
    std::string output;       // "" when not given
    std::string passwordFile; // "" when not given; "-" is standard input
    bool replace = false;
    bool force = false; // an existing file at the result's path may be replaced
    bool noPrivateCode = false;
    bool help = false;
    bool version = false;
    std::vector<std::string> files = {}; // every FILE, in the order given
    bool test = false;                   // restore without writing anything
    bool protect = false;                // protect whatever the name
    bool restore = false;                // restore whatever the name
    bool quiet = false;                  // errors only
    bool storePrivateCode = false;       // store a private code instead of running jobs
    bool forgetPrivateCode = false;      // remove the stored private code
    std::string privateCodeFile = {};    // where --store-private-code reads the code, "" asks
    int jobs = 0;                        // -j: files run at once; 0 when not given
};

struct ParseResult {
    Options options;
    std::string error; // "" when the command line is valid
    bool ok() const { return error.empty(); }
};

// Parses the arguments after the program name.
ParseResult ParseArguments(const std::vector<std::string>& args);

// Whether the job protects options.file: as asked, else by its name.
bool Protecting(const Options& options);

// The output path handed to the job: the source path for --replace, the -o path, or else a
// path beside the source that differs from it as text but has the same name without
// extension, so the job writes the source's name with ".vwx" or the stored extension.
std::string OutputPathFor(const Options& options);

// The path a protect writes: the output path with its extension replaced by ".vwx".
std::string ProtectResultPath(const Options& options);

std::string UsageLine();
std::string HelpText();

} // namespace vw::cli
