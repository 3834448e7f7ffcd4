// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/io/Leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "engine/io/FileIO.h"

namespace vw {
namespace {

using FileId = LeftoverSweep::FileId;

FileId IdOf(const struct stat& st) {
    return {st.st_dev, st.st_ino};
}

bool Contains(const std::vector<FileId>& ids, const FileId& id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

// The files at the paths, as the system sees them (through links); none for a path that names
// nothing.
std::vector<FileId> IdsOf(const std::vector<std::string>& paths) {
    std::vector<FileId> ids;
    struct stat st {};
    for (const std::string& path : paths)
        if (!path.empty() && ::stat(path.c_str(), &st) == 0) ids.push_back(IdOf(st));
    return ids;
}

// Removes path when it is a temporary file of this user, last written before start, that no
// live job holds locked and that is none of the files kept.
void RemoveIfUnlocked(const std::string& path, std::time_t start, const std::vector<FileId>& kept) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid() &&
        opened.st_mtime < start && !Contains(kept, IdOf(opened)) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        IdOf(opened) == IdOf(named)) {
        ::unlink(path.c_str());
    }
    ::close(fd);
}

void RemoveStale(const std::string& folder, std::time_t start, const std::vector<FileId>& kept) {
    const std::string dirPath = folder.empty() ? "." : folder;
    DIR* dir = ::opendir(dirPath.c_str());
    if (!dir) return;
    const std::string prefix = dirPath.back() == '/' ? dirPath : dirPath + "/";
    while (const dirent* entry = ::readdir(dir)) {
        if (IsTempFileName(entry->d_name)) RemoveIfUnlocked(prefix + entry->d_name, start, kept);
    }
    ::closedir(dir);
}

} // namespace

void RemoveStaleTempFiles(const std::string& folder, std::time_t jobStart,
                          const std::string& keep) {
    RemoveStale(folder, jobStart, IdsOf({keep}));
}

LeftoverSweep::LeftoverSweep(const std::vector<std::string>& keep, std::time_t runStart)
    : start_(runStart), kept_(IdsOf(keep)) {}

void LeftoverSweep::Sweep(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.empty() ? "." : folder.c_str(), &st) != 0) return;
    {
        const std::lock_guard lock(mutex_);
        if (Contains(swept_, IdOf(st))) return;
        swept_.push_back(IdOf(st));
    }
    // Outside the lock: a job writing in another folder meanwhile need not wait, and one that
    // writes here may create its file at once, which is too new to be taken.
    RemoveStale(folder, start_, kept_);
}

std::size_t LeftoverSweep::Scanned() const {
    const std::lock_guard lock(mutex_);
    return swept_.size();
}

} // namespace vw
