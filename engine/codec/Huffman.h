// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The static Huffman codec: "HE3" coded streams and "HE0" stored streams.
#include <cstddef>
#include <cstdint>

#include "engine/io/Bytes.h"
#include "engine/io/Failure.h"

namespace vw {

// Replaces buffer[0, byteCount) by its compressed stream ("HE3", or "HE0" when coding would not
// make it smaller). Raises EngineError (Fault::StreamDamaged) on an overflow.
void HuffmanEncode(Bytes& buffer, std::int32_t byteCount);

// Replaces the stream in buffer[0, byteCount) by the decoded bytes; false when their checksum or
// length differs from the stream's (the buffer still receives them). Raises EngineError for a
// stream the encoder never writes (Fault::StreamNotIdentified) or a damaged one
// (Fault::StreamDamaged); the buffer is then unchanged.
bool HuffmanDecode(Bytes& buffer, std::int32_t byteCount);

namespace huffman {
// The data checksum of a coded stream: the XOR of the data's bytes (eight at a time).
unsigned char XorOf(const unsigned char* data, std::size_t size);
} // namespace huffman

} // namespace vw
