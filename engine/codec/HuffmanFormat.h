// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The layout of the compressed stream, every field named once. docs/format.md describes the
// format ("The compressed stream").
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace vw::huffman {

// Every stream starts with four identification bytes: "H", "E", the form letter, CR.
inline constexpr std::size_t kIdSize = 4;
// "HE0" CR: the data follows unchanged.
inline constexpr std::uint8_t kStoredId[kIdSize] = {72, 69, 48, 13};
// "HE3" CR: the coded form, whose head holds the fields below.
inline constexpr std::uint8_t kCodedId[kIdSize] = {72, 69, 51, 13};

inline constexpr std::size_t kChecksumAt = 4;    // 1 byte: XOR of the uncompressed bytes
inline constexpr std::size_t kLengthAt = 5;      // 4 bytes: uncompressed length, signed
inline constexpr std::size_t kSymbolCountAt = 9; // 2 bytes: pairs in the symbol table, signed
inline constexpr std::size_t kHeadSize = 11;
// A symbol-table pair: the byte value, then its code length in bits.
inline constexpr std::size_t kPairSize = 2;

// Where the code bits start in a coded stream whose table holds `pairs` pairs.
constexpr std::size_t CodeBitsStart(std::size_t pairs) {
    return kHeadSize + kPairSize * pairs;
}

enum class StreamForm { Unknown, Stored, Coded };

// The form the first bytes of a stream name; Unknown for any other start, or fewer than
// kIdSize bytes.
inline StreamForm IdentifyStream(const std::uint8_t* stream, std::size_t size) {
    if (size < kIdSize) return StreamForm::Unknown;
    if (std::memcmp(stream, kStoredId, kIdSize) == 0) return StreamForm::Stored;
    if (std::memcmp(stream, kCodedId, kIdSize) == 0) return StreamForm::Coded;
    return StreamForm::Unknown;
}

// How many bytes the whole stream of streamSize bytes decodes to, as its first `size` bytes
// state it: a coded stream's length field, a stored stream's size less its identification; 0
// when they tell nothing (too few of them, an unknown form, a length not positive). A guide for
// planning only: the decoder checks the stream.
inline std::size_t StatedLength(const std::uint8_t* stream, std::size_t size,
                                std::size_t streamSize) {
    switch (IdentifyStream(stream, size)) {
    case StreamForm::Stored:
        return streamSize - kIdSize;
    case StreamForm::Coded: {
        if (size < kLengthAt + 4) return 0;
        std::uint32_t length = 0;
        for (std::size_t k = 0; k < 4; ++k)
            length |= static_cast<std::uint32_t>(stream[kLengthAt + k]) << (8 * k);
        return static_cast<std::int32_t>(length) > 0 ? length : 0;
    }
    case StreamForm::Unknown:
        break;
    }
    return 0;
}

} // namespace vw::huffman
