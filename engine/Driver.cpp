// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Driver.h"

#include <algorithm>
#include <string_view>

#include "engine/JobState.h"
#include "engine/Paths.h"
#include "engine/ProtectedFile.h"
#include "engine/VwxFormat.h"

namespace vw {

FileKind DetectFileKind(const std::string& path) {
    const std::string name = FileNameOf(path);
    const std::string_view marker = vwx::kMarker;
    const auto sameLetter = [](char c, char lower) { return (c | 0x20) == lower; };
    const bool marked = std::search(name.begin(), name.end(), marker.begin(), marker.end(),
                                    sameLetter) != name.end();
    return marked ? FileKind::Protected : FileKind::Plain;
}

std::string ResultPathFor(const std::string& sourcePath, const std::string& outputPath,
                          const std::string& password, const std::string& privateCode) {
    if (DetectFileKind(sourcePath) == FileKind::Plain)
        return WithoutExtension(outputPath) + vwx::kExtension;
    return RestoredPathFor(sourcePath, outputPath, password, privateCode);
}

std::int16_t RunChecked(const std::string& sourcePath, const std::string& password,
                        const std::function<void()>& job) {
    JobStatus = kStatusOk;
    StatusMessage.clear();
    ErrorDescription.clear();
    ExistingOutputPath.clear();
    if (!IsAcceptablePassword(password)) {
        JobStatus = kStatusPasswordTooShort;
    } else if (!FileExists(sourcePath)) {
        JobStatus = kStatusFileNotFound;
    } else if (FileLength(sourcePath) < 1) {
        JobStatus = kStatusEmptyFile;
    } else {
        job();
    }
    SetStatusMessage();
    return JobStatus;
}

std::string ProcessFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        const Overwrite& overwrite) {
    std::string result;
    RunChecked(sourcePath, password, [&] {
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
    });
    return JobStatus == kStatusOk ? result : sourcePath;
}

} // namespace vw
