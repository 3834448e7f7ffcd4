#pragma once
// The protected file format: writing (ProtectFile) and reading (RestoreFile) a ".vwx" file,
// the random header and the mouse entropy pool.
#include <cstdint>
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

// Longest file a job reads or writes (lengths are signed 32-bit): 2 GiB and more is refused.
inline constexpr long long kMaxFileLength = 0x7FFFFFFFLL;
// Whether a protected file with a header of n bytes, an extension of e bytes and a compressed
// stream of m bytes (n + e + m + 3 bytes with the terminator and the two check values) is short
// enough to be restored.
constexpr bool FitsTheFormat(std::uint64_t n, std::uint64_t e, std::uint64_t m) {
    return n + e + m + 3 <= static_cast<std::uint64_t>(kMaxFileLength);
}

} // namespace vw
