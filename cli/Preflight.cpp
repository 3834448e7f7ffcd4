// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Preflight.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "engine/JobState.h"

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

// The source itself never is in the way: a name ending in ".vwx" is restored, not protected.
bool ProtectResultInTheWay(const Options& options) {
    struct stat info = {};
    // A dangling link counts too: the result would replace it.
    return !options.force && ::lstat(ProtectResultPath(options).c_str(), &info) == 0;
}

// Whether both paths lead to one existing file (-e on a name ending in ".vwx" would protect the
// file into itself).
bool SameFile(const std::string& a, const std::string& b) {
    struct stat first = {}, second = {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace

std::optional<Refusal> Preflight(const Options& options, bool protecting) {
    struct stat info = {};
    if (!options.output.empty() && ::stat(options.output.c_str(), &info) == 0 &&
        S_ISDIR(info.st_mode))
        return Refusal{kUsageError, "the output path " + options.output + " is a folder"};
    const std::string sourceProblem = SourceProblem(options.file);
    if (!sourceProblem.empty()) return Refusal{kStatusFileNotFound, sourceProblem};
    const bool intoItself = protecting && SameFile(ProtectResultPath(options), options.file);
    if (intoItself && !options.replace)
        return Refusal{kCannotCreate, QCoreApplication::translate(
                                          "vwx", "%1 would be replaced by its own protected "
                                                 "form; use --replace for that")
                                          .arg(QString::fromStdString(options.file))
                                          .toStdString()};
    if (protecting && !intoItself && ProtectResultInTheWay(options))
        return ExistingFileRefusal(ProtectResultPath(options));
    return std::nullopt;
}

Refusal ExistingFileRefusal(const std::string& path) {
    return {kCannotCreate, path + " already exists; use -f to replace it"};
}

} // namespace vw::cli
