// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FileJob.h"

#include "engine/Driver.h"
#include "engine/ProtectedFile.h"

namespace vw::cli {

std::string RunFileJob(JobKind kind, const std::string& source, const std::string& output,
                       const std::string& password, const std::string& privateCode,
                       const Overwrite& overwrite) {
    const JobKind byName =
        DetectFileKind(source) == FileKind::Plain ? JobKind::Protect : JobKind::Restore;
    if (kind == byName) return ProcessFile(source, output, password, privateCode, overwrite);
    std::string result;
    RunChecked(source, password, [&] {
        if (kind == JobKind::Test)
            TestProtectedFile(source, password, privateCode);
        else if (kind == JobKind::Protect)
            result = ProtectFile(source, output, password, privateCode, overwrite);
        else
            result = RestoreFile(source, output, password, privateCode, overwrite);
    });
    return JobStatus == kStatusOk && kind != JobKind::Test ? result : source;
}

} // namespace vw::cli
