#include "engine/Driver.h"

#include "engine/JobState.h"
#include "engine/Paths.h"
#include "engine/ProtectedFile.h"

namespace vw {

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
