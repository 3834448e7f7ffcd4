// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Preflight.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "engine/job/StatusCodes.h"

namespace vw::cli {
namespace {

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

std::string SourceProblem(const std::string& path) {
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        std::string text =
            QCoreApplication::translate("vwx", "File non trovato: ").toStdString() + path;
        if (error != ENOENT) text += " (" + std::string(std::strerror(error)) + ")";
        return text;
    }
    if (S_ISREG(info.st_mode)) return {};
    return path + " is " + KindOf(info.st_mode) + ", not a file";
}

} // namespace

std::optional<Refusal> Preflight(const Options& options) {
    struct stat info = {};
    if (!options.output.empty() && ::stat(options.output.c_str(), &info) == 0 &&
        S_ISDIR(info.st_mode))
        return Refusal{kUsageError, "the output path " + options.output + " is a folder"};
    const std::string sourceProblem = SourceProblem(options.file);
    if (!sourceProblem.empty()) return Refusal{kStatusFileNotFound, sourceProblem};
    return std::nullopt;
}

} // namespace vw::cli
