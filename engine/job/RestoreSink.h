// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the bytes of a restore go: a file written under a temporary name until the job commits
// it, or memory. A restore that only tests the file has no sink.
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "engine/io/Failure.h"
#include "engine/io/FileIO.h"
#include "engine/io/SecureBytes.h"

namespace vw {

class RestoreSink {
  public:
    virtual ~RestoreSink() = default;
    // Once the stream's head is read, before any byte: the restored length it states. Raises
    // Fault::MemoryLimit, here or from Write, to refuse it, which stops the restore at once.
    virtual void Expect(std::size_t length) { (void)length; }
    virtual void Write(const std::uint8_t* data, std::size_t count) = 0;
};

// The result file, opened at the first byte (clearing the folder's stale temporary files first).
class FileSink : public RestoreSink {
  public:
    // source: the job's source, which the cleanup of the folder's leftovers never takes.
    FileSink(std::string path, std::time_t jobStart, std::string source)
        : path_(std::move(path)), source_(std::move(source)), start_(jobStart) {}
    void Write(const std::uint8_t* data, std::size_t count) override;
    void Commit(unsigned mode, bool replaceExisting);

  private:
    void Open();

    std::string path_;
    std::string source_;
    std::time_t start_;
    std::optional<AtomicFile> out_;
};

// Restored bytes kept in memory, up to a limit.
class MemorySink : public RestoreSink {
  public:
    // Of a file refused for its length, this many of its first bytes are kept: enough to tell
    // what kind of file it is.
    static constexpr std::size_t kKeptOfRefused = std::size_t{64} << 10;

    MemorySink(SecureBytes& bytes, std::size_t limit) : bytes_(bytes), limit_(limit) {}
    // Refuses a length over the limit once its first bytes are kept; otherwise reserves exactly
    // that length, so that the buffer never grows.
    void Expect(std::size_t length) override;
    void Write(const std::uint8_t* data, std::size_t count) override;
    bool Refused() const { return refused_; }

  private:
    SecureBytes& bytes_;
    std::size_t limit_;
    bool refused_ = false;
    std::size_t length_ = 0;
};

} // namespace vw
