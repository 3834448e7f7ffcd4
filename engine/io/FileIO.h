// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Whole-file reading and the atomic output file every job writes through.
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "engine/io/Bytes.h"
#include "engine/io/Failure.h"

namespace vw {

// Temporary files of jobs (and leftovers of killed ones) start with this prefix.
inline constexpr const char* kTempPrefix = ".vwx-partial-";

// Reads a regular file from front to back in pieces, with the system told to read ahead.
class ChunkReader {
  public:
    explicit ChunkReader(std::string path);
    ~ChunkReader();
    ChunkReader(const ChunkReader&) = delete;
    ChunkReader& operator=(const ChunkReader&) = delete;

    // The file's length when it was opened.
    std::int64_t Size() const { return size_; }
    // Reads exactly size bytes; raises Fault::SourceRead, or SourceChanged when the file ends
    // first.
    void Read(std::uint8_t* out, std::size_t size);
    // Raises Fault::SourceChanged unless the file ends here (a file that grew has more to read).
    void ExpectEnd();
    // What identifies the file's content from outside: it changes when the file is written.
    struct Stamp {
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        std::int64_t changedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    // The stamp now, from the open file.
    Stamp CurrentStamp() const;

  private:
    std::string path_;
    int fd_ = -1;
    std::int64_t size_ = 0;
};

// The stamp of the file at a path now; none when nothing is there.
std::optional<ChunkReader::Stamp> StampAt(const std::string& path);

// Whether the entry at path (a link itself, not what it leads to) is the file at other.
bool IsSameFile(const std::string& path, const std::string& other);

// The permission bits of a file (0 when they cannot be read).
unsigned FilePermissions(const std::string& path);

// Whether a file name is one AtomicFile gives its temporary files: kTempPrefix, the process
// number in decimal, '-' and 16 lower-case hexadecimal digits, nothing else.
bool IsTempFileName(std::string_view name);

// Removes leftover temporary files of killed jobs from a folder: regular files with a temporary
// file's name, owned by this user, last written before jobStart and not locked, and never the
// file at keep (the job's own source). Every AtomicFile holds a lock on its temporary file,
// which tells a live job's file in any process, container or machine sharing the folder from a
// dead one's.
void RemoveStaleTempFiles(const std::string& folder, std::time_t jobStart, const std::string& keep);

// Writes a file beside its final path under a temporary name (mode 0600, locked for the object's
// life) and renames it over the final path only on Commit, so an existing file at that path
// survives every failure. Without a successful Commit the temporary file is removed.
class AtomicFile {
  public:
    explicit AtomicFile(std::string finalPath);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    void Write(const std::uint8_t* data, std::size_t size);
    // Flushes, sets the permission bits (mode's read and write bits, less those the umask takes
    // away, as for any new file) and renames over the final path. With replaceExisting
    // false, a file that sits at the final path (even one that appeared while the job ran) is
    // left alone and Fault::OutputExists is raised; the temporary file is then removed.
    void Commit(unsigned mode, bool replaceExisting = true);
    const std::string& TempPath() const { return tempPath_; }

  private:
    void Discard() noexcept;

    std::string finalPath_;
    std::string tempPath_;
    int fd_ = -1;
    int lockFd_ = -1; // shares fd_'s lock and keeps it until the temporary file is gone or renamed
    bool committed_ = false;
    std::size_t written_ = 0;
    std::size_t writtenBack_ = 0;
};

} // namespace vw
