// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Decodes arbitrary bytes as a compressed stream: it must end in data, status 5 or an
// EngineError, never in a crash, a hang or a runaway allocation.
#include <cstddef>
#include <cstdint>

#include "engine/codec/Huffman.h"
#include "engine/io/Bytes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vw::Bytes buffer(data, data + size);
    bool intact = false;
    try {
        intact = vw::HuffmanDecode(buffer, static_cast<std::int32_t>(buffer.size()));
    } catch (const vw::EngineError&) {
        // A refused stream leaves the buffer as it was.
        if (buffer.size() != size) __builtin_trap();
        return 0;
    }
    if (intact) {
        // A stream that decodes cleanly must encode and decode to the same bytes again.
        vw::Bytes again = buffer;
        vw::HuffmanEncode(again, static_cast<std::int32_t>(again.size()));
        const bool still = vw::HuffmanDecode(again, static_cast<std::int32_t>(again.size()));
        if (again != buffer || !still) __builtin_trap();
    }
    return 0;
}
