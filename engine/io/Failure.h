// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What made a job fail, as data: which step failed, on which path, and the system's error.
// The engine has no words of its own; the programs make them (platform/JobText.h).
#include <cstdint>
#include <exception>
#include <string>

namespace vw {

enum class Fault : std::uint8_t {
    None,
    // The source: path, and the system's error where there is one.
    SourceOpen,
    SourceRead,
    SourceChanged,  // it changed while the job read it
    SourceTooLarge, // it, or its protected form, would be 2 GiB or more
    // A protect's source whose extension holds a control character: shown is the extension.
    ExtensionHasControl,
    // A protect's source whose extension holds characters the code page cannot store (or bytes
    // that are no UTF-8): shown lists them by code point.
    ExtensionOutsideCodePage,
    // The result.
    OutputCreate,       // path is the folder the temporary file could not be made in
    FolderRefusesFiles, // path is a folder that exists, yet takes no new file
    OutputWrite,
    OutputRename,  // the complete result could not take its name (path)
    OutputReplace, // the complete result could not replace the file at path
    OutputExists,  // a file sits at path that the job may not replace
    // The result is in place (other), but the source (path) could not be deleted.
    SourceNotDeleted,
    // The source (path) changed after it was read; it was kept, and the result (other) holds
    // what it held before.
    SourceKept,
    // A protected file's content.
    StoredExtensionInvalid, // shown is the extension, escaped
    StoredExtensionUnended,
    HeadTooLong,
    StreamNotIdentified,
    StreamDamaged, // stream says how
    // A restore into memory: the restored length (value) is over the limit (limit).
    MemoryLimit,
    OutOfMemory,
    RandomUnavailable, // the system's random source failed
    Internal,          // a fault of the program; shown says where
};

// How a compressed stream is damaged. value and limit carry the figures named.
enum class StreamFault : std::uint8_t {
    None,
    HeadShort,         // the head is shorter than 11 bytes
    LengthNotPositive, // the stated length
    FewSymbols,        // the symbol count (value) is below 2
    TableOverrun,      // the symbol table runs past the stream's end
    CodeBitsOverrun,   // the code bits run past the stream's end
    CodeContinues,     // the code of byte value `value` continues past the code of `limit`
    CodeRepeated,      // the code of byte value `value` is another's or a prefix of one
    TooManyNodes,      // the codes need more than 512 tree nodes
    CodeIncomplete,    // the codes are not a complete prefix code
    MissingNode,       // the data bits lead to a missing tree node
    CodeTooLong,       // encoding: a code longer than 255 bits
    StreamTooLarge,    // encoding: the stream would be 2 GiB or more
};

struct Failure {
    Fault fault = Fault::None;
    std::string path{};  // the file or folder concerned
    std::string other{}; // a second path, where the fault names one
    int error = 0;       // the system's error number, 0 when none
    std::string shown{}; // an extension as found, its control characters written as \xHH
    std::int64_t value = 0;
    std::int64_t limit = 0;
    StreamFault stream = StreamFault::None;
    bool operator==(const Failure&) const = default;
};

// A failure raised inside the engine, caught once where a job ends (job/Job.cpp).
class EngineError : public std::exception {
  public:
    explicit EngineError(Failure failure) : failure_(std::move(failure)) {}
    const Failure& failure() const { return failure_; }
    const char* what() const noexcept override { return "vaultwise engine failure"; }

  private:
    Failure failure_;
};

[[noreturn]] inline void Raise(Failure failure) {
    throw EngineError(std::move(failure));
}

} // namespace vw
