// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The decoder of "HE0" and "HE3" streams, fed piece by piece. It parses the stream's head as it
// arrives, then decodes the data bits into the output the caller provides. The buffer-level
// HuffmanDecode and the restore, which decodes while it decrypts, both run it.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/codec/Huffman.h"

namespace vw::huffman {

class StreamDecoder {
  public:
    enum class Step {
        NeedInput,  // the input given is used up; give the next piece
        OutputFull, // the output given is full; give more room
        Finished,   // all bytes wanted are out, or the stream has ended
    };
    // Bytes before an input piece given with room in front that the decoder may overwrite.
    static constexpr std::size_t kHeadroom = 64;

    // streamSize: the whole stream's length, known in advance.
    explicit StreamDecoder(std::size_t streamSize);
    ~StreamDecoder();
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    // The next piece of the stream; it must stay valid until Run asks for more. With
    // roomInFront, the kHeadroom bytes before data may be overwritten.
    void SetInput(std::uint8_t* data, std::size_t size, bool roomInFront);
    // Where decoded bytes go next. A capacity of 0 closes the output: the rest of the pass
    // then only runs through its yield points.
    void SetOutput(std::uint8_t* out, std::size_t capacity);
    // Runs until one of the steps above. Raises EngineError for a stream the encoder never
    // writes (Fault::StreamNotIdentified) or a damaged one (Fault::StreamDamaged).
    Step Run();

    // Bytes written into the current output.
    std::size_t OutputUsed() const;
    // Known once the head has been read.
    bool Stored() const;
    std::uint8_t StoredChecksum() const;
    // The uncompressed length the head states ("HE3"), or the stream's length less 4 ("HE0").
    std::size_t Wanted() const;
    std::size_t Produced() const;
    // Most bytes the data bits can give ("HE3"): no output needs more room than this.
    std::size_t MaxOutput() const;

  private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace vw::huffman
