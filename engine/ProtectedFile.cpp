// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/ProtectedFile.h"

#include <ctime>
#include <new>

#include "engine/Job.h"
#include "engine/RestoreSink.h"

namespace vw {
namespace {

// Runs a protect or restore, turning every run-time failure into the given status.
template <typename Procedure>
std::string Guarded(std::int16_t failureStatus, const std::string& sourcePath,
                    Procedure procedure) {
    CancelRequested = false;
    try {
        return procedure();
    } catch (const OutputExistsError& e) {
        ExistingOutputPath = e.Path();
        ErrorDescription = e.what();
    } catch (const EngineError& e) {
        ErrorDescription = e.what();
    } catch (const std::bad_alloc&) {
        ErrorDescription = "not enough memory";
    } catch (const std::exception& e) {
        ErrorDescription = e.what();
    }
    JobStatus = failureStatus;
    return sourcePath;
}

// A restore into a sink, or only tested without one: no output path, nothing written.
std::int16_t RestoreWithoutFile(const std::string& sourcePath, const std::string& password,
                                const std::string& privateCode, RestoreSink* sink,
                                std::string& extension) {
    const std::time_t start = std::time(nullptr);
    const Job job{sourcePath, sourcePath, password, privateCode, Overwrite::Refused, start};
    Guarded(kStatusRestoreFailed, sourcePath, [&] {
        JobStatus = RestoreJobInto(job, sink, extension);
        return sourcePath;
    });
    return JobStatus;
}

} // namespace

std::string ProtectFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        const Overwrite& overwrite) {
    const Job job{sourcePath, outputPath, password, privateCode, overwrite, std::time(nullptr)};
    return Guarded(kStatusProtectFailed, sourcePath, [&] { return ProtectJob(job); });
}

std::string RestoreFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        const Overwrite& overwrite) {
    const Job job{sourcePath, outputPath, password, privateCode, overwrite, std::time(nullptr)};
    return Guarded(kStatusRestoreFailed, sourcePath, [&] { return RestoreJob(job); });
}

std::int16_t TestProtectedFile(const std::string& sourcePath, const std::string& password,
                               const std::string& privateCode) {
    std::string extension;
    return RestoreWithoutFile(sourcePath, password, privateCode, nullptr, extension);
}

std::int16_t RestoreIntoMemory(const std::string& sourcePath, const std::string& password,
                               const std::string& privateCode, std::size_t limit,
                               RestoredBytes& out) {
    SecureBytes().swap(out.bytes);
    MemorySink sink(out.bytes, limit);
    RestoreWithoutFile(sourcePath, password, privateCode, &sink, out.extension);
    out.tooLarge = sink.Refused();
    if (JobStatus != kStatusOk && !out.tooLarge) SecureBytes().swap(out.bytes);
    return JobStatus;
}

} // namespace vw
