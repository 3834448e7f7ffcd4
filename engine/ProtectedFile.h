#pragma once
// The protected file format: writing (ProtectFile) and reading (RestoreFile) a ".vwx" file,
// the random header and the mouse entropy pool.
#include <string>

#include "engine/JobState.h"

namespace vw {

// Both take UTF-8 paths and single-byte code-page key texts, and return the path written, or
// sourcePath when the job stopped (JobStatus tells why).
std::string ProtectFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite = Overwrite::Allowed);
std::string RestoreFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite = Overwrite::Allowed);

// A header of n bytes (32 <= n <= 255) whose first byte is n. Re-keys the cipher.
std::string MakeRandomHeader();
// Adds one byte to the entropy pool for every new mouse position.
void AddMouseEntropy(float x, float y);

// At most 251 bytes, oldest first.
extern std::string EntropyPool;
struct MousePosition {
    float x = 0;
    float y = 0;
};
extern MousePosition LastMousePosition;

// Largest source the format can store (lengths are signed 32-bit): 2 GiB and more is refused.
inline constexpr long long kMaxSourceLength = 0x7FFFFFFFLL;
// Leftover temporary files of a killed job start with this prefix.
inline constexpr const char* kTempPrefix = ".vwx-partial-";

} // namespace vw
