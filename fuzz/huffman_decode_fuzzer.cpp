// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes arbitrary bytes as a compressed stream: it must end in data, status 5 or an
// EngineError, never in a crash, a hang or a runaway allocation.
#include <cstddef>
#include <cstdint>

#include "engine/Bytes.h"
#include "engine/Huffman.h"
#include "engine/JobState.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vw::Bytes buffer(data, data + size);
    vw::JobStatus = 0;
    vw::CancelRequested = false;
    try {
        vw::HuffmanDecode(buffer, static_cast<std::int32_t>(buffer.size()));
    } catch (const vw::EngineError&) {
        // A refused stream leaves the buffer as it was.
        if (buffer.size() != size) __builtin_trap();
        return 0;
    }
    if (vw::JobStatus == 0) {
        // A stream that decodes cleanly must encode and decode to the same bytes again.
        vw::Bytes again = buffer;
        vw::HuffmanEncode(again, static_cast<std::int32_t>(again.size()));
        vw::HuffmanDecode(again, static_cast<std::int32_t>(again.size()));
        if (again != buffer || vw::JobStatus != 0) __builtin_trap();
    }
    return 0;
}
