// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Job.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "engine/Cipher.h"
#include "engine/Host.h"
#include "engine/VwxFormat.h"

namespace vw {

using Stamp = ChunkReader::Stamp;

namespace {

// Raises unless the file at the path is still the one the job read, as it read it.
void ExpectUnchanged(const std::string& path, const Stamp& seen) {
    if (StampAt(path) != seen) throw SourceChanged(path);
}

// When the output path chosen was the source itself, the new file replaces the source: the
// source is deleted, but only once the new file is complete under its own name, and only when
// it is still the file the job read.
void ReplaceSourceIfChosen(const Job& job, const std::string& written, const Stamp& seen) {
    if (job.output != job.source || written == job.source) return;
    const std::optional<Stamp> now = StampAt(job.source);
    if (!now) return;
    if (*now != seen)
        throw EngineError("the file \"" + job.source +
                          "\" changed during the job, so it was kept; \"" + written +
                          "\" holds what it contained before");
    if (::unlink(job.source.c_str()) != 0)
        throw EngineError("\"" + written + "\" was written, but \"" + job.source +
                          "\" could not be deleted: " + std::strerror(errno));
}

} // namespace

BusyPointer::BusyPointer() {
    CurrentHost().SetBusy(true);
}

BusyPointer::~BusyPointer() {
    CurrentHost().SetBusy(false);
}

CipherWipe::~CipherWipe() {
    TheCipher().Wipe();
}

std::string StoppedAs(std::int16_t status, const Job& job) {
    JobStatus = status;
    return job.source;
}

void CheckFileLength(std::int64_t length, const std::string& path) {
    if (length > vwx::kMaxFileLength)
        throw EngineError("the file \"" + path + "\" is too large for the format (2 GiB or more)");
}

EngineError SourceChanged(const std::string& path) {
    return EngineError("the file \"" + path + "\" changed during the job; nothing was written");
}

void ExpectPassComplete(ChunkReader& reader, const Stamp& seen, const std::string& path) {
    if (reader.CurrentStamp() != seen) throw SourceChanged(path);
    reader.ExpectEnd();
}

bool MayReplace(const Job& job, const std::string& written) {
    return job.overwrite.mode == Overwrite::Allowed ||
           (job.output == job.source && written == job.source) ||
           (!job.overwrite.confirmed.empty() && written == job.overwrite.confirmed);
}

void ExpectFreePath(const Job& job, const std::string& written) {
    struct stat st {};
    if (!MayReplace(job, written) && ::lstat(written.c_str(), &st) == 0)
        throw OutputExistsError(written);
}

std::string FinishJob(const Job& job, const std::string& written, const Stamp& seen,
                      const std::function<void(unsigned mode, bool replaceExisting)>& commit) {
    {
        BusyPointer busy;
        ExpectUnchanged(job.source, seen);
        commit(FilePermissions(job.source), MayReplace(job, written));
    }
    ReplaceSourceIfChosen(job, written, seen);
    return written;
}

} // namespace vw
