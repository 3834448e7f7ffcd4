// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Restoring a protected file: its head is read and decrypted first; then the data is decrypted
// in two halves on two threads, decoded on the second, and written by a third into the result,
// under a temporary name that is committed only once the check values agree and the data's
// checksum is right.
#include <array>
#include <initializer_list>
#include <optional>

#include "engine/Cipher.h"
#include "engine/Huffman.h"
#include "engine/HuffmanStreamDecoder.h"
#include "engine/Job.h"
#include "engine/JobStage.h"
#include "engine/Paths.h"
#include "engine/ProtectedFile.h"
#include "engine/RestoreSink.h"
#include "engine/StoredHead.h"
#include "engine/VwxFormat.h"

namespace vw {
namespace {

using stream::ChunkBuffer;
using stream::ChunkQueue;
using stream::kChunkSize;
using stream::Workers;
using stream::YieldReplay;
using Stamp = ChunkReader::Stamp;

// The path a restore writes: the output path with the stored extension. What forbids writing
// there is kept in head.failure.
std::string ResultPath(const Job& job, StoredHead& head) {
    if (head.failure) return {};
    try {
        std::string written = WithoutExtension(job.output) + SafeExtension(head.extension);
        ExpectFreePath(job, written);
        return written;
    } catch (const EngineError&) {
        head.failure = std::current_exception();
        return {};
    }
}

// What the decoding thread of a restore leaves for the calling thread. The calling thread reads
// the plain fields only after `ended` is set.
struct DecodeResult {
    std::atomic<std::uint64_t> yields{0};    // yield points of decoding passed
    std::atomic<std::uint64_t> firstYield{}; // the stream position of the first one
    std::atomic<bool> ended{false};
    std::exception_ptr decodeFailure; // the stream could not be decoded
    std::exception_ptr writeFailure;  // the output could not be written
    bool stored = false;
    std::uint8_t storedChecksum = 0;
    std::uint8_t checksum = 0;
    std::size_t wanted = 0;
    std::size_t produced = 0;
};

// A restore reads its file in pieces of this size. Each piece's buffer holds, after the piece,
// two key parts per byte (Cipher::DecryptFirstHalf), so that a buffer fits one huge page.
constexpr std::size_t kPiece = kChunkSize / 2;
constexpr std::size_t kPieceCapacity = 3 * kPiece;
// Buffers of decoded bytes in flight between the decoder and the writer.
constexpr int kOutputsInFlight = 3;

std::uint8_t* PartB(const ChunkBuffer& piece) {
    return piece.Data() + kPiece;
}

std::uint8_t* PartSum(const ChunkBuffer& piece) {
    return piece.Data() + 2 * kPiece;
}

// The data of a restore, on three threads: the first reads the file and runs the first half
// of the decryption, the second the other half and the decoder, the third writes what is
// decoded into the sink. Without a sink nothing is written and there is no third thread.
class RestorePipeline {
  public:
    RestorePipeline(ChunkReader& reader, ChunkBuffer first, std::size_t size, std::size_t start,
                    RestoreSink* sink)
        : reader_(reader), first_(std::move(first)), size_(size), start_(start),
          dataEnd_(size - vwx::kCheckValues), dataSize_(dataEnd_ - start), sink_(sink) {}
    // Decrypts the data, decoding alongside, and reads the check values. False when cancelled.
    bool Decrypt();
    bool ChecksAgree(const StoredHead& head) const { return trailer_ == head.checks; }
    // Once the check values agree: passes the yield points of decoding and of the checksum and
    // returns 0, 5 (the checksum differs) or 21 (cancelled). Raises a decoding or write failure.
    std::int16_t FinishDecoding();

  private:
    void KeyPass();
    void DecodePass();
    // Decrypts the bytes [at, at + count) of the piece at file offset `offset`, then decodes
    // those that are data. False when aborted.
    bool DecryptStep(ChunkBuffer& piece, std::size_t offset, std::size_t at, std::size_t count,
                     huffman::StreamDecoder& decoder);
    void WritePass();
    // False once the decoder has finished or failed.
    bool RunDecoder(huffman::StreamDecoder& decoder);
    // Passes the decoded bytes on and gives the decoder room for more. False when aborted.
    bool Flush(huffman::StreamDecoder& decoder);
    void Write(const std::uint8_t* data, std::size_t count);

    ChunkReader& reader_;
    ChunkBuffer first_;
    const std::size_t size_, start_, dataEnd_, dataSize_;
    RestoreSink* const sink_;
    bool decoding_ = true;    // the decoder neither finished nor failed
    bool lengthTold_ = false; // the sink knows the restored length
    ChunkBuffer output_;      // the decoder's
    Cipher& cipher_ = TheCipher();
    std::atomic<std::uint64_t> decryptedBytes_{0};
    std::atomic<bool> checksRead_{false};
    std::array<std::uint8_t, vwx::kCheckValues> trailer_{}; // decrypted
    DecodeResult result_;
    ChunkQueue free_, keyed_;      // pieces: free, and with their key parts
    ChunkQueue outFree_, decoded_; // decoded bytes: free buffers, and buffers to write
    Workers workers_;              // last: stops before everything it uses goes
};

bool RestorePipeline::Decrypt() {
    LastProgress = 0;
    for (ChunkQueue* queue : {&free_, &keyed_, &outFree_, &decoded_})
        workers_.Watch(*queue);
    for (int c = 1; c < stream::kChunksInFlight; ++c)
        free_.Push(ChunkBuffer(kPieceCapacity));
    for (int c = 0; c < (sink_ ? kOutputsInFlight : 1); ++c)
        outFree_.Push(ChunkBuffer(kChunkSize));
    workers_.Start("vw-keystream", [this] { KeyPass(); });
    workers_.Start("vw-decoder", [this] { DecodePass(); });
    // The writer spends its time in the system: it runs wherever a processor is free.
    if (sink_)
        workers_.Start(
            "vw-writer", [this] { WritePass(); }, false);

    const double last = dataSize_ > 1 ? static_cast<double>(dataSize_ - 1) : 0.0;
    YieldReplay decryptionStage(kCipherYieldInterval,
                                [&](double i) { return last > 0 ? i / last * 50 : 0.0; });
    if (!FollowStage(workers_, decryptedBytes_, dataSize_, decryptionStage)) return false;
    WaitFor(workers_, checksRead_);
    return true;
}

void RestorePipeline::KeyPass() {
    ChunkBuffer piece = std::move(first_);
    std::size_t offset = 0; // file offset of piece.Data()[0]
    for (;;) {
        const std::size_t from = offset < start_ ? start_ - offset : 0;
        for (std::size_t at = from; at < piece.size; at += stream::kCipherStep) {
            const std::size_t count = std::min(stream::kCipherStep, piece.size - at);
            cipher_.DecryptFirstHalf(piece.Data() + at, count, PartB(piece) + at,
                                     PartSum(piece) + at);
            if (workers_.Aborted()) return;
        }
        offset += piece.size;
        if (!keyed_.Push(std::move(piece))) return;
        if (offset == size_) break;
        if (!free_.Pop(piece)) return;
        piece.size = std::min(kPiece, size_ - offset);
        reader_.Read(piece.Data(), piece.size);
    }
    keyed_.Close();
}

void RestorePipeline::DecodePass() {
    huffman::StreamDecoder decoder(dataSize_);
    // A stream too short to be identified fails before any input.
    decoding_ = RunDecoder(decoder);
    ChunkBuffer piece;
    std::size_t offset = 0;
    while (keyed_.Pop(piece)) {
        const std::size_t from = offset < start_ ? start_ - offset : 0;
        for (std::size_t at = from; at < piece.size; at += stream::kCipherStep) {
            if (!DecryptStep(piece, offset, at, std::min(stream::kCipherStep, piece.size - at),
                             decoder))
                return;
        }
        offset += piece.size;
        piece.size = 0;
        if (!free_.Push(std::move(piece))) return;
    }
    if (workers_.Aborted()) return;
    if (!result_.decodeFailure) {
        if (!Flush(decoder)) return;
        result_.stored = decoder.Stored();
        result_.storedChecksum = decoder.StoredChecksum();
        result_.wanted = decoder.Wanted();
        result_.produced = decoder.Produced();
    }
    decoded_.Close();
    result_.ended.store(true, std::memory_order_release);
}

bool RestorePipeline::DecryptStep(ChunkBuffer& piece, std::size_t offset, std::size_t at,
                                  std::size_t count, huffman::StreamDecoder& decoder) {
    std::uint8_t* const data = piece.Data() + at;
    cipher_.DecryptSecondHalf(data, count, PartB(piece) + at, PartSum(piece) + at);
    const std::size_t stepStart = offset + at, stepEnd = stepStart + count;
    for (std::size_t k = 0; k < trailer_.size(); ++k) {
        if (stepStart <= dataEnd_ + k && dataEnd_ + k < stepEnd)
            trailer_[k] = data[dataEnd_ + k - stepStart];
    }
    const std::size_t reached = std::min(stepEnd, dataEnd_);
    if (reached > start_) decryptedBytes_.store(reached - start_, std::memory_order_release);
    if (stepEnd == size_) checksRead_.store(true, std::memory_order_release);
    workers_.Notify();
    if (workers_.Aborted()) return false;
    if (decoding_ && reached > stepStart) {
        decoder.SetInput(data, reached - stepStart, true);
        decoding_ = RunDecoder(decoder);
    }
    return true;
}

void RestorePipeline::WritePass() {
    ChunkBuffer out;
    while (decoded_.Pop(out)) {
        Write(out.Data(), out.size);
        out.size = 0;
        if (!outFree_.Push(std::move(out))) return;
    }
}

bool RestorePipeline::RunDecoder(huffman::StreamDecoder& decoder) {
    using Step = huffman::StreamDecoder::Step;
    try {
        for (;;) {
            const Step step = decoder.Run();
            if (step == Step::NeedInput) return true;
            if (step == Step::Finished) return false;
            if (step == Step::OutputFull) {
                if (!lengthTold_ && sink_) sink_->Expect(decoder.Wanted());
                lengthTold_ = true;
                if (!Flush(decoder)) return false;
            } else {
                if (result_.yields.load(std::memory_order_relaxed) == 0)
                    result_.firstYield.store(decoder.YieldPosition(), std::memory_order_relaxed);
                result_.yields.fetch_add(1, std::memory_order_release);
                workers_.Notify();
            }
        }
    } catch (const LengthRefused&) {
        throw; // stops the restore now
    } catch (...) {
        result_.decodeFailure = std::current_exception();
        return false;
    }
}

bool RestorePipeline::Flush(huffman::StreamDecoder& decoder) {
    const std::size_t used = output_.Capacity() > 0 ? decoder.OutputUsed() : 0;
    if (used > 0) result_.checksum ^= huffman::XorOf(output_.Data(), used);
    if (sink_ && used > 0) {
        output_.size = used;
        if (!decoded_.Push(std::move(output_))) return false;
    }
    if (output_.Capacity() == 0 && !outFree_.Pop(output_)) return false;
    decoder.SetOutput(output_.Data(), output_.Capacity());
    return true;
}

void RestorePipeline::Write(const std::uint8_t* data, std::size_t count) {
    if (count == 0 || !sink_ || result_.writeFailure) return;
    try {
        sink_->Write(data, count);
    } catch (const LengthRefused&) {
        throw; // stops the restore now
    } catch (...) {
        result_.writeFailure = std::current_exception();
    }
}

std::int16_t RestorePipeline::FinishDecoding() {
    const double streamSize = static_cast<double>(dataSize_);
    YieldReplay decodingStage(1, [&](double k) {
        const auto first = static_cast<double>(result_.firstYield.load(std::memory_order_relaxed));
        return (first + k * huffman::kYieldInterval) / streamSize * 50 + 45;
    });
    if (!FollowStage(workers_, result_.yields, stream::kUnknownTotal, decodingStage,
                     &result_.ended)) {
        return kStatusRestoreCancelled;
    }
    workers_.Finish();
    if (result_.decodeFailure) std::rethrow_exception(result_.decodeFailure);

    const double count = static_cast<double>(result_.produced);
    YieldReplay checksumStage(huffman::kYieldInterval,
                              [&](double i) { return i / count * 50 + 5 + 45; });
    if (!result_.stored && !checksumStage.Upto(result_.produced)) return kStatusRestoreCancelled;
    if (CancelRequested) return kStatusRestoreCancelled;
    if (!result_.stored &&
        (result_.checksum != result_.storedChecksum || result_.produced != result_.wanted)) {
        return kStatusChecksum;
    }
    if (result_.writeFailure) std::rethrow_exception(result_.writeFailure);
    return kStatusOk;
}

// A protected file opened, with its first chunk read.
struct OpenedFile {
    std::optional<ChunkReader> reader;
    Stamp stamp;
    std::size_t size = 0;
    ChunkBuffer first;
};

void OpenProtected(const std::string& path, OpenedFile& file) {
    BusyPointer busy;
    file.reader.emplace(path);
    file.stamp = file.reader->CurrentStamp();
    if (file.reader->Size() < 1) throw EngineError("the file \"" + path + "\" is empty");
    CheckFileLength(file.reader->Size(), path);
    file.size = static_cast<std::size_t>(file.reader->Size());
    file.first = ChunkBuffer(kPieceCapacity);
    file.first.size = std::min(kPiece, file.size);
    file.reader->Read(file.first.Data(), file.first.size);
}

// A restore begun: the file opened, the cipher keyed, the head read.
struct RestoreStart {
    OpenedFile file;
    StoredHead head;
};

// False when the header does not fit the file.
bool StartRestore(const Job& job, RestoreStart& start) {
    CheckFileLength(FileLength(job.source), job.source);
    OpenProtected(job.source, start.file);
    Cipher& cipher = TheCipher();
    cipher.Init(job.password, job.privateCode);
    return ReadStoredHead(cipher, start.file.first.Data(), start.file.size, start.head);
}

// Decrypts, checks and decodes the data into the sink (none when the head keeps a failure):
// 0, or the status the restore stops with.
std::int16_t RestoreData(RestoreStart& start, RestoreSink* sink) {
    OpenedFile& file = start.file;
    RestorePipeline pipeline(*file.reader, std::move(file.first), file.size, start.head.dataStart,
                             start.head.failure ? nullptr : sink);
    if (!pipeline.Decrypt()) return kStatusRestoreCancelled;
    if (!pipeline.ChecksAgree(start.head)) return kStatusWrongPassword;
    // Whatever else is wrong with the file counts only once the check values agree.
    if (start.head.failure) std::rethrow_exception(start.head.failure);
    return pipeline.FinishDecoding();
}

} // namespace

std::string RestoreJob(const Job& job) {
    CipherWipe wipe;
    RestoreStart start;
    if (!StartRestore(job, start)) return StoppedAs(kStatusWrongPassword, job);
    const std::string written = ResultPath(job, start.head);
    FileSink sink(written, job.start);
    const std::int16_t status = RestoreData(start, &sink);
    if (status != kStatusOk) return StoppedAs(status, job);
    return FinishJob(job, written, start.file.stamp,
                     [&](unsigned mode, bool replace) { sink.Commit(mode, replace); });
}

std::string RestoredPathFor(const std::string& sourcePath, const std::string& outputPath,
                            const std::string& password, const std::string& privateCode) {
    try {
        ChunkReader reader(sourcePath);
        Bytes head(static_cast<std::size_t>(
            std::min<std::int64_t>(reader.Size(), vwx::kMaxDataStart + vwx::kCheckValues)));
        reader.Read(head.data(), head.size());
        Cipher cipher;
        cipher.Init(password, privateCode);
        StoredHead stored;
        const bool fits = ReadStoredHead(cipher, head.data(), head.size(), stored);
        cipher.Wipe();
        SecureWipe(head);
        if (!fits || stored.failure) return {};
        return WithoutExtension(outputPath) + SafeExtension(stored.extension);
    } catch (const EngineError&) {
        return {};
    }
}

std::int16_t RestoreJobInto(const Job& job, RestoreSink* sink, std::string& extension) {
    CipherWipe wipe;
    RestoreStart start;
    if (!StartRestore(job, start)) return kStatusWrongPassword;
    try {
        SafeExtension(start.head.extension);
    } catch (const EngineError&) {
        if (!start.head.failure) start.head.failure = std::current_exception();
    }
    extension = start.head.extension;
    return RestoreData(start, sink);
}

} // namespace vw
