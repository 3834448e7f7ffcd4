// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The static Huffman codec: "HE3" coded streams and "HE0" stored streams.
#include <cstddef>
#include <cstdint>

#include "engine/Bytes.h"

namespace vw {

// Description of the identification failure.
inline constexpr const char* kIdentificationFailure =
    "The data either was not compressed with HE3 or is corrupt (identification string not found)";

// Replaces buffer[0, byteCount) by its compressed stream. Passes a yield point (YieldPoint) after
// byte 0 and every multiple of kCountingYieldInterval while counting (0 to 3 percent), and of
// kYieldInterval while summing the checksum (3 to 6) and coding (6 to 50); on cancel the buffer
// is left as it was. Raises EngineError on an overflow or a failed allocation.
void HuffmanEncode(Bytes& buffer, std::int32_t byteCount);

// Replaces the stream in buffer[0, byteCount) by the decoded bytes. Passes a yield point after
// every stream byte whose position, counted from 1, is a multiple of kYieldInterval while
// decoding (45 to 95 percent), unless the output is complete within it, then after output byte 0
// and every multiple of kYieldInterval while summing the checksum (50 to 100); on cancel the
// buffer is left as it was. Sets JobStatus to 5 when the checksum differs (the buffer still
// receives the decoded bytes). Raises EngineError with kIdentificationFailure for a stream the
// encoder never writes, and with a description of the fault for a damaged one; the buffer is then
// unchanged.
void HuffmanDecode(Bytes& buffer, std::int32_t byteCount);

namespace huffman {
// Yield points of the codec's passes: every kCountingYieldInterval bytes while counting, every
// kYieldInterval bytes in every other pass.
inline constexpr std::size_t kCountingYieldInterval = 1000;
inline constexpr std::size_t kYieldInterval = 10000;

// The data checksum of a coded stream: the XOR of the data's bytes (eight at a time).
unsigned char XorOf(const unsigned char* data, std::size_t size);
} // namespace huffman

} // namespace vw
