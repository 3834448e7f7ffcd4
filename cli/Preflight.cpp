// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Preflight.h"

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

#include "engine/job/StatusCodes.h"
#include "platform/JobText.h"

namespace vw::cli {
namespace {

// Why the entry at a path is no file to work on, by its kind.
const char* NotAFile(mode_t mode) {
    if (S_ISDIR(mode)) return QT_TRANSLATE_NOOP("vwx", "%1 is a folder, not a file");
    if (S_ISFIFO(mode)) return QT_TRANSLATE_NOOP("vwx", "%1 is a FIFO, not a file");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QT_TRANSLATE_NOOP("vwx", "%1 is a device, not a file");
    if (S_ISSOCK(mode)) return QT_TRANSLATE_NOOP("vwx", "%1 is a socket, not a file");
    return QT_TRANSLATE_NOOP("vwx", "%1 is a special file, not a file");
}

std::string SourceProblem(const std::string& path) {
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        std::string text =
            QCoreApplication::translate("vwx", "File non trovato: ").toStdString() + path;
        if (error != ENOENT) text += " (" + SystemErrorText(error).toStdString() + ")";
        return text;
    }
    if (S_ISREG(info.st_mode)) return {};
    return QCoreApplication::translate("vwx", NotAFile(info.st_mode))
        .arg(QString::fromStdString(path))
        .toStdString();
}

} // namespace

std::optional<Refusal> Preflight(const Options& options) {
    struct stat info = {};
    if (!options.output.empty() && ::stat(options.output.c_str(), &info) == 0 &&
        S_ISDIR(info.st_mode))
        return Refusal{kUsageError,
                       QCoreApplication::translate("vwx", "the output path %1 is a folder")
                           .arg(QString::fromStdString(options.output))
                           .toStdString()};
    const std::string sourceProblem = SourceProblem(options.file);
    if (!sourceProblem.empty()) return Refusal{kStatusFileNotFound, sourceProblem};
    return std::nullopt;
}

} // namespace vw::cli
