// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Restores arbitrary bytes (encrypted first when the first byte is odd): a failed job writes
// nothing and describes its failure without control characters.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

#include "engine/Driver.h"
#include "engine/JobState.h"
#include "tests/support/ProtectedFileForge.h"
#include "tests/support/TempDir.h"

namespace {
constexpr const char* kPassword = "fuzzing password";
constexpr const char* kPrivateCode = "pcm";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const vw::test::TempDir folder; // removed with what is in it when the fuzzer ends
    if (size < 1) return 0;
    vw::Bytes file(data + 1, data + size);
    if (data[0] & 1) file = vw::test::Encrypted(std::move(file), kPassword, kPrivateCode);
    const std::string source = folder / "input.vwx";
    vw::test::WriteFile(source, file);
    const std::string result =
        vw::ProcessFile(source, folder / "output.x", kPassword, kPrivateCode);
    const std::size_t entries = folder.Entries().size();
    if (vw::JobStatus != 0) {
        if (result != source || entries != 1) __builtin_trap();
        // Descriptions reach terminals and message boxes: no raw control characters.
        for (const char c : vw::ErrorDescription)
            if (static_cast<unsigned char>(c) < 32 || c == 127) __builtin_trap();
    } else {
        if (entries != 2 || std::filesystem::path(result).parent_path() != folder.path())
            __builtin_trap();
        std::filesystem::remove(result);
    }
    return 0;
}
