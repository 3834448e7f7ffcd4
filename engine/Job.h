// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One protect or restore as its caller asked for it, and what both procedures do alike: the
// busy pointer, the cipher wiped at the end, the checks that the source stays the file the job
// read, and the rules for the result's path.
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>

#include "engine/Bytes.h"
#include "engine/FileIO.h"
#include "engine/JobState.h"

namespace vw {

class RestoreSink;

struct Job {
    const std::string& source;
    const std::string& output;
    const std::string& password;
    const std::string& privateCode;
    Overwrite overwrite;
    std::time_t start;
};

// The two procedures, with their failures still raised (ProtectFile and RestoreFile turn them
// into statuses).
std::string ProtectJob(const Job& job);
std::string RestoreJob(const Job& job);
// A restore into a sink instead of the result file; without one, nothing is written and the
// data is only checked. The output path is not used, but the stored extension must still be one
// a file could take; it is given back as stored. Returns 0 or the status the restore stopped
// with.
std::int16_t RestoreJobInto(const Job& job, RestoreSink* sink, std::string& extension);

// Shows the busy pointer for a scope.
class BusyPointer {
  public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// Wipes the cipher state when the job ends, however it ends.
struct CipherWipe {
    ~CipherWipe();
};

// Sets JobStatus and gives the result of a job that stopped: its source path.
std::string StoppedAs(std::int16_t status, const Job& job);

// Raises when a file is too long for the format.
void CheckFileLength(std::int64_t length, const std::string& path);
EngineError SourceChanged(const std::string& path);
// After a whole pass over a file: raises unless the file still looks as it did when the job
// began and ends where the pass ended.
void ExpectPassComplete(ChunkReader& reader, const ChunkReader::Stamp& seen,
                        const std::string& path);

// Whether the result may take the place of a file already at its path: always when allowed,
// otherwise only the source itself, when the caller chose the source as the output path.
bool MayReplace(const Job& job, const std::string& written);
// Raises OutputExistsError when something sits at the result's path that it may not replace.
void ExpectFreePath(const Job& job, const std::string& written);
// How every job ends once its result is complete under a temporary name: under the busy
// pointer, and only while the source is still the file the job read, `commit` renames the
// result into place (given the source's permissions and whether it may replace a file); then
// the source is replaced when it was chosen as the output path. Returns the path written.
std::string FinishJob(const Job& job, const std::string& written, const ChunkReader::Stamp& seen,
                      const std::function<void(unsigned mode, bool replaceExisting)>& commit);

} // namespace vw
