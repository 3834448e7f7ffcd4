#include "engine/FileIO.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "engine/Paths.h"
#include "engine/ProtectedFile.h"

namespace vw {
namespace {

std::string Reason(const std::string& what, const std::string& path, int error) {
    return what + " \"" + path + "\": " + std::strerror(error);
}

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
            if (::lstat(to.c_str(), &st) == 0) throw OutputExistsError(to);
            if (::rename(from.c_str(), to.c_str()) == 0) return;
            error = errno;
        }
    }
    if (error == EEXIST) throw OutputExistsError(to);
    throw EngineError(Reason("cannot create", to, error));
}

} // namespace

OutputExistsError::OutputExistsError(const std::string& path)
    : EngineError("the file \"" + path + "\" already exists"), path_(path) {}

ChunkReader::ChunkReader(std::string path) : path_(std::move(path)) {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw EngineError(Reason("cannot open", path_, errno));
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int error = S_ISREG(st.st_mode) ? errno : EISDIR;
        ::close(fd_);
        throw EngineError(Reason("cannot read", path_, error));
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
        if (got < 0) throw EngineError(Reason("cannot read", path_, errno));
        if (got == 0) throw EngineError("the file \"" + path_ + "\" became shorter while read");
        out += got;
        size -= static_cast<std::size_t>(got);
    }
}

void ChunkReader::ExpectEnd() {
    std::uint8_t extra = 0;
    for (;;) {
        const ssize_t got = ::read(fd_, &extra, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw EngineError(Reason("cannot read", path_, errno));
        if (got > 0) throw EngineError("the file \"" + path_ + "\" grew while it was read");
        return;
    }
}

ChunkReader::Stamp ChunkReader::CurrentStamp() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) throw EngineError(Reason("cannot read", path_, errno));
    auto ns = [](const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    return {static_cast<std::int64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

Bytes ReadWholeFile(const std::string& path) {
    ChunkReader reader(path);
    Bytes data;
    try {
        data.resize(static_cast<std::size_t>(reader.Size()));
    } catch (const std::bad_alloc&) {
        throw EngineError("not enough memory to read \"" + path + "\"");
    }
    reader.Read(data.data(), data.size());
    return data;
}

unsigned FilePermissions(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return 0;
    return static_cast<unsigned>(st.st_mode & 07777);
}

void RemoveStaleTempFiles(const std::string& folder, std::time_t jobStart) {
    const std::string dirPath = folder.empty() ? "." : folder;
    DIR* dir = ::opendir(dirPath.c_str());
    if (!dir) return;
    const std::size_t prefixLength = std::strlen(kTempPrefix);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefixLength, kTempPrefix) != 0) continue;
        const std::string path = (dirPath.back() == '/' ? dirPath : dirPath + "/") + name;
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid())
            continue;
        if (st.st_mtime >= jobStart) continue;
        // The name carries the writer's process id: leave the files of running jobs alone.
        const long pid = std::strtol(name.c_str() + prefixLength, nullptr, 10);
        if (pid > 0 && pid != ::getpid() &&
            (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM))
            continue;
        ::unlink(path.c_str());
    }
    ::closedir(dir);
}

AtomicFile::AtomicFile(std::string finalPath) : finalPath_(std::move(finalPath)) {
    const std::string folder = FolderForFiles(finalPath_);
    for (int attempt = 0; attempt < 16 && fd_ < 0; ++attempt) {
        unsigned long long nonce = 0;
        if (::getrandom(&nonce, sizeof nonce, 0) != sizeof nonce) nonce = ::time(nullptr) + attempt;
        char name[96];
        std::snprintf(name, sizeof name, "%s%ld-%016llx", kTempPrefix,
                      static_cast<long>(::getpid()), nonce);
        tempPath_ = folder + name;
        fd_ = ::open(tempPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd_ < 0 && errno != EEXIST) break;
    }
    if (fd_ < 0) {
        const int error = errno;
        tempPath_.clear();
        throw EngineError(Reason("cannot create a file in the folder", folder, error));
    }
}

AtomicFile::~AtomicFile() {
    Discard();
}

void AtomicFile::Discard() noexcept {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!committed_ && !tempPath_.empty()) ::unlink(tempPath_.c_str());
}

void AtomicFile::Write(const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t put = ::write(fd_, data, size);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0)
            throw EngineError(Reason("cannot write", finalPath_, put < 0 ? errno : ENOSPC));
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
    if (::fchmod(fd_, mode & 0666) != 0 || ::fsync(fd_) != 0)
        throw EngineError(Reason("cannot write", finalPath_, errno));
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) throw EngineError(Reason("cannot write", finalPath_, errno));
    if (replaceExisting) {
        if (::rename(tempPath_.c_str(), finalPath_.c_str()) != 0)
            throw EngineError(Reason("cannot replace", finalPath_, errno));
    } else {
        MoveWithoutReplacing(tempPath_, finalPath_);
    }
    committed_ = true;
}

} // namespace vw
