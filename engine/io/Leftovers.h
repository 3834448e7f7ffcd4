// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The temporary files killed jobs leave behind, and their cleanup: a job clears the folder it
// writes in just before it opens its own temporary file there.
#include <sys/types.h>

#include <cstddef>
#include <ctime>
#include <mutex>
#include <string>
#include <vector>

namespace vw {

// Removes leftover temporary files of killed jobs from a folder: regular files with a temporary
// file's name (IsTempFileName), owned by this user, last written before jobStart and not locked,
// and never the file at keep (the job's own source). Every AtomicFile holds a lock on its
// temporary file, which tells a live job's file in any process, container or machine sharing the
// folder from a dead one's.
void RemoveStaleTempFiles(const std::string& folder, std::time_t jobStart, const std::string& keep);

// The cleanup for a run of many jobs (vwx given several files): each folder is scanned once, by
// the first job that writes there, with the run's start as every job's. A second scan in the same
// run would find nothing more: a temporary file made after the run started is never a leftover to
// it, so only a file whose live job elsewhere dies meanwhile waits for the next run. None of the
// files the run's jobs read is removed. Jobs running at once may share one.
class LeftoverSweep {
  public:
    // keep: every source of the run.
    explicit LeftoverSweep(const std::vector<std::string>& keep,
                           std::time_t runStart = std::time(nullptr));
    // Clears the folder ("" for the current one) unless the run cleared it before.
    void Sweep(const std::string& folder);
    // How many folders were scanned.
    std::size_t Scanned() const;

    struct FileId {
        dev_t device = 0;
        ino_t inode = 0;
        bool operator==(const FileId&) const = default;
    };

  private:
    const std::time_t start_;
    std::vector<FileId> kept_;
    mutable std::mutex mutex_;
    std::vector<FileId> swept_;
};

} // namespace vw
