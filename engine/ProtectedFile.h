#pragma once
// The protected file's two procedures: ProtectFile writes a ".vwx" file, RestoreFile reads one
// back. The format is in VwxFormat.h, the random header in RandomHeader.h.
#include <string>

#include "engine/JobState.h"
#include "engine/RandomHeader.h"

namespace vw {

// Both take UTF-8 paths and single-byte code-page key texts, and return the path written, or
// sourcePath when the job stopped (JobStatus tells why: 11 or 21 when cancelled, 12 or 22 for a
// run-time failure, described by ErrorDescription).
std::string ProtectFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite = Overwrite::Allowed);
std::string RestoreFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite = Overwrite::Allowed);

} // namespace vw
