#include "engine/ProtectedFile.h"

#include <ctime>
#include <new>

#include "engine/Job.h"

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

} // namespace

std::string ProtectFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite) {
    const Job job{sourcePath, outputPath, password, privateCode, overwrite, std::time(nullptr)};
    return Guarded(kStatusProtectFailed, sourcePath, [&] { return ProtectJob(job); });
}

std::string RestoreFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite) {
    const Job job{sourcePath, outputPath, password, privateCode, overwrite, std::time(nullptr)};
    return Guarded(kStatusRestoreFailed, sourcePath, [&] { return RestoreJob(job); });
}

} // namespace vw
