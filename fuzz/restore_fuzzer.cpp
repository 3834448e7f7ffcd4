// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Restores arbitrary files: the first byte chooses whether the rest is encrypted first (so that
// it passes the password check), the rest is the file. A failed restore writes nothing.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>

#include "engine/job/Job.h"
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
    vw::JobRequest request;
    request.kind = vw::JobKind::Restore;
    request.source = source;
    request.output = folder / "output.x";
    request.password = vw::KeyText(kPassword);
    request.privateCode = vw::KeyText(kPrivateCode);
    request.overwrite = vw::Overwrite::Allowed;
    vw::JobControl control;
    const vw::JobResult result = vw::RunJob(request, control);
    const std::size_t entries = folder.Entries().size();
    if (!result.Ok()) {
        if (!result.written.empty() || entries != 1) __builtin_trap();
        // An extension shown in a failure reaches terminals: no raw control characters.
        for (const char c : result.failure.shown)
            if (static_cast<unsigned char>(c) < 32 || c == 127) __builtin_trap();
    } else {
        if (entries != 2 || std::filesystem::path(result.written).parent_path() != folder.path())
            __builtin_trap();
        std::filesystem::remove(result.written);
    }
    return 0;
}
