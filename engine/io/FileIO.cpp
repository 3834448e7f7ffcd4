// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/io/FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "engine/io/Paths.h"

namespace vw {
namespace {

std::string FolderForFiles(const std::string& path) {
    const std::string folder = FolderOf(path);
    if (!folder.empty()) return folder;
    return path.rfind('/', 0) == 0 ? "/" : "./";
}

// Renames from to to unless something already sits at to. Where the file system cannot rename
// without replacing, a hard link does the same; only where neither works is the final check
// separate from the rename.
void MoveWithoutReplacing(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return;
    int error = errno;
    if (error == EINVAL || error == ENOSYS || error == ENOTSUP) {
        if (::link(from.c_str(), to.c_str()) == 0) {
            ::unlink(from.c_str());
            return;
        }
        error = errno;
        if (error == EPERM || error == ENOTSUP || error == EOPNOTSUPP) {
            struct stat st {};
            if (::lstat(to.c_str(), &st) == 0) Raise({Fault::OutputExists, to});
            if (::rename(from.c_str(), to.c_str()) == 0) return;
            error = errno;
        }
    }
    if (error == EEXIST) Raise({Fault::OutputExists, to});
    Raise({Fault::OutputRename, to, {}, error});
}

// The file-creation mask. The system states it without changing it; only where it does not is
// the mask read by setting it, briefly to the strictest value, so that files other threads
// create meanwhile get fewer permissions, never more.
mode_t CurrentUmask() {
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found) return static_cast<mode_t>(mask & 0777);
    }
    static std::mutex guard;
    const std::lock_guard lock(guard);
    const mode_t mask = ::umask(0777);
    ::umask(mask);
    return mask;
}

ChunkReader::Stamp StampOf(const struct stat& st) {
    auto ns = [](const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    return {static_cast<std::int64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Creates a new file under a fresh temporary name in folder and locks it. A cleanup can take a
// file between its creation and its lock; the file is only kept when the path still names it
// once locked. Returns the descriptor, or -1 with errno set.
int CreateLockedTempFile(const std::string& folder, std::string& path) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        unsigned long long nonce = 0;
        if (::getrandom(&nonce, sizeof nonce, 0) != sizeof nonce) nonce = ::time(nullptr) + attempt;
        char name[96];
        std::snprintf(name, sizeof name, "%s%ld-%016llx", kTempPrefix,
                      static_cast<long>(::getpid()), nonce);
        path = folder + name;
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return -1;
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &opened) == 0 &&
            ::lstat(path.c_str(), &named) == 0 && SameFile(opened, named)) {
            return fd;
        }
        ::close(fd); // a cleanup holds or removed it: it is that cleanup's to remove
    }
    errno = EEXIST;
    return -1;
}

// Removes path when it is a temporary file of this user, last written before jobStart, that no
// live job holds locked and that is not the file kept.
void RemoveIfUnlocked(const std::string& path, std::time_t jobStart, const struct stat* kept) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat opened {};
    struct stat named {};
    if (::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && opened.st_uid == ::geteuid() &&
        opened.st_mtime < jobStart && !(kept && SameFile(opened, *kept)) &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(path.c_str(), &named) == 0 &&
        SameFile(opened, named)) {
        ::unlink(path.c_str());
    }
    ::close(fd);
}

} // namespace

ChunkReader::ChunkReader(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) Raise({Fault::SourceOpen, path_, {}, errno});
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISREG(st.st_mode) ? errno : EISDIR;
        ::close(fd_);
        Raise({Fault::SourceRead, path_, {}, error});
    }
    size_ = static_cast<std::int64_t>(st.st_size);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

ChunkReader::~ChunkReader() {
    ::close(fd_);
}

void ChunkReader::Read(std::uint8_t* out, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::read(fd_, out, size);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Raise({Fault::SourceRead, path_, {}, errno});
        if (got == 0) Raise({Fault::SourceChanged, path_});
        out += got;
        size -= static_cast<std::size_t>(got);
    }
}

void ChunkReader::ExpectEnd() {
    std::uint8_t extra = 0;
    for (;;) {
        const ssize_t got = ::read(fd_, &extra, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) Raise({Fault::SourceRead, path_, {}, errno});
        if (got > 0) Raise({Fault::SourceChanged, path_});
        return;
    }
}

ChunkReader::Stamp ChunkReader::CurrentStamp() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) Raise({Fault::SourceRead, path_, {}, errno});
    return StampOf(st);
}

std::optional<ChunkReader::Stamp> StampAt(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return StampOf(st);
}

bool IsSameFile(const std::string& path, const std::string& other) {
    struct stat a {};
    struct stat b {};
    return ::lstat(path.c_str(), &a) == 0 && ::stat(other.c_str(), &b) == 0 && SameFile(a, b);
}

unsigned FilePermissions(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    return static_cast<unsigned>(st.st_mode & 07777);
}

bool IsTempFileName(std::string_view name) {
    const std::string_view prefix = kTempPrefix;
    constexpr std::size_t kNonceDigits = 16;
    if (!name.starts_with(prefix)) return false;
    name.remove_prefix(prefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos || name.size() - dash - 1 != kNonceDigits)
        return false;
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    const auto hex = [&](char c) { return digit(c) || (c >= 'a' && c <= 'f'); };
    return std::all_of(name.begin(), name.begin() + dash, digit) &&
           std::all_of(name.begin() + dash + 1, name.end(), hex);
}

void RemoveStaleTempFiles(const std::string& folder, std::time_t jobStart,
                          const std::string& keep) {
    const std::string dirPath = folder.empty() ? "." : folder;
    DIR* dir = ::opendir(dirPath.c_str());
    if (!dir) return;
    struct stat kept {};
    const bool keeps = !keep.empty() && ::stat(keep.c_str(), &kept) == 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTempFileName(entry->d_name)) continue;
        RemoveIfUnlocked((dirPath.back() == '/' ? dirPath : dirPath + "/") + entry->d_name,
                         jobStart, keeps ? &kept : nullptr);
    }
    ::closedir(dir);
}

AtomicFile::AtomicFile(std::string finalPath) : finalPath_(std::move(finalPath)) {
    const std::string folder = FolderForFiles(finalPath_);
    fd_ = CreateLockedTempFile(folder, tempPath_);
    if (fd_ >= 0) lockFd_ = ::fcntl(fd_, F_DUPFD_CLOEXEC, 0);
    if (lockFd_ < 0) {
        const int error = errno;
        if (fd_ >= 0) {
            ::unlink(tempPath_.c_str());
            ::close(fd_);
        }
        tempPath_.clear();
        // A folder that exists yet says "no such file" for a new one takes no files at all.
        struct stat st {};
        const bool refuses =
            error == ENOENT && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        Raise({refuses ? Fault::FolderRefusesFiles : Fault::OutputCreate, folder, {}, error});
    }
}

AtomicFile::~AtomicFile() {
    Discard();
}

void AtomicFile::Discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (lockFd_ < 0) return;
    // Removed while still locked, so no cleanup can have taken the name meanwhile.
    if (!committed_) ::unlink(tempPath_.c_str());
    ::close(lockFd_);
    lockFd_ = -1;
}

void AtomicFile::Write(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd_, data, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) Raise({Fault::OutputWrite, finalPath_, {}, put < 0 ? errno : ENOSPC});
        data += put;
        size -= static_cast<std::size_t>(put);
        written_ += static_cast<std::size_t>(put);
    }
    // Start writing back what is complete, so that the flush at the end has little left to do.
    constexpr std::size_t kWriteBackStep = std::size_t{8} << 20;
    if (written_ - writtenBack_ >= kWriteBackStep) {
        ::sync_file_range(fd_, static_cast<off_t>(writtenBack_),
                          static_cast<off_t>(written_ - writtenBack_), SYNC_FILE_RANGE_WRITE);
        writtenBack_ = written_;
    }
}

void AtomicFile::Commit(unsigned mode, bool replaceExisting) {
    try {
        if (::fchmod(fd_, mode & 0666 & ~CurrentUmask()) != 0 || ::fsync(fd_) != 0)
            Raise({Fault::OutputWrite, finalPath_, {}, errno});
        const int fd = fd_;
        fd_ = -1; // lockFd_ keeps the lock until the rename is done
        if (::close(fd) != 0) Raise({Fault::OutputWrite, finalPath_, {}, errno});
        if (replaceExisting) {
            if (::rename(tempPath_.c_str(), finalPath_.c_str()) != 0)
                Raise({Fault::OutputReplace, finalPath_, {}, errno});
        } else {
            MoveWithoutReplacing(tempPath_, finalPath_);
        }
    } catch (...) {
        Discard();
        throw;
    }
    committed_ = true;
    Discard();
}

} // namespace vw
