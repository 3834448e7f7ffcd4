#include "engine/Driver.h"

#include "engine/JobState.h"
#include "engine/Paths.h"
#include "engine/ProtectedFile.h"

namespace vw {

bool IsAcceptablePassword(const std::string& password) {
    const std::size_t n = password.size();
    if (n < 5) return false;
    for (std::size_t c = 1; c <= n / 2; ++c) {
        bool repeated = true;
        for (std::size_t start = c; start < n && repeated; start += c) {
            // A last piece shorter than the pattern differs from it.
            repeated = start + c <= n && password.compare(start, c, password, 0, c) == 0;
        }
        if (repeated) return false;
    }
    return true;
}

FileKind DetectFileKind(const std::string& path) {
    const std::string name = FileNameOf(path);
    for (std::size_t i = 0; i + 3 <= name.size(); ++i) {
        if ((name[i] | 0x20) == 'v' && (name[i + 1] | 0x20) == 'w' && (name[i + 2] | 0x20) == 'x')
            return FileKind::Protected;
    }
    return FileKind::Plain;
}

std::string ProcessFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite) {
    JobStatus = kStatusOk;
    StatusMessage.clear();
    ErrorDescription.clear();
    ExistingOutputPath.clear();
    std::string result;

    if (!IsAcceptablePassword(password)) {
        JobStatus = kStatusPasswordTooShort;
    } else if (!FileExists(sourcePath)) {
        JobStatus = kStatusFileNotFound;
    } else if (FileLength(sourcePath) < 1) {
        JobStatus = kStatusEmptyFile;
    } else {
        switch (DetectFileKind(sourcePath)) {
        case FileKind::Plain:
            result = ProtectFile(sourcePath, outputPath, password, privateCode, overwrite);
            break;
        case FileKind::Protected:
            result = RestoreFile(sourcePath, outputPath, password, privateCode, overwrite);
            break;
        case FileKind::Unknown:
            JobStatus = kStatusUnknownFormat;
            break;
        }
    }

    SetStatusMessage();
    if (JobStatus != kStatusOk) result = sourcePath;
    return result;
}

} // namespace vw
