// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Restoring: the protected file's head is read and decrypted first; then the data is decrypted
// in two halves on two threads, decoded on the second, and written by a third into the sink
// (the result file under a temporary name, committed only once the check values agree and the
// data's checksum is right; memory; or nothing, when the file is only tested). Where the data
// decodes to many bytes for each byte of the file, the first thread takes the whole decryption
// and the second only decodes. A small file goes through the same passes one after the other on
// the calling thread.
#include <array>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <optional>

#include "engine/cipher/Cipher.h"
#include "engine/codec/Huffman.h"
#include "engine/codec/HuffmanFormat.h"
#include "engine/codec/HuffmanStreamDecoder.h"
#include "engine/format/StoredHead.h"
#include "engine/format/VwxFormat.h"
#include "engine/io/Paths.h"
#include "engine/job/JobParts.h"
#include "engine/job/MemoryJobs.h"
#include "engine/job/RestoreSink.h"
#include "engine/job/StreamPipeline.h"

namespace vw::job {
namespace {

using stream::ChunkBuffer;
using stream::ChunkQueue;
using stream::kChunkSize;
using stream::Workers;
using Pass = ProgressMeter::Pass;

// The first piece holds the whole head: the header and the stored extension never reach past it.
constexpr std::size_t kPiece = stream::kRestorePiece;
static_assert(kPiece >= vwx::kMaxDataStart + vwx::kCheckValues);
// Buffers of decoded bytes in flight between the decoder and the writer.
constexpr int kOutputsInFlight = 3;
// The decoder keeps the tail of a code cut by a piece's end in front of the next piece.
static_assert(ChunkBuffer::kHeadroom >= huffman::StreamDecoder::kHeadroom);
// A file of at most this size (one cipher step) is restored on the calling thread: its passes
// take less time than starting the three threads would, and the restored bytes are no different.
constexpr std::size_t kRestoredOnCaller = stream::kCipherStep;
static_assert(kRestoredOnCaller <= kPiece, "a file restored on the caller is one piece");

// A protected file's bytes, read once from front to back.
class RestoreInput {
  public:
    virtual ~RestoreInput() = default;
    virtual std::size_t Size() const = 0;
    virtual void Read(std::uint8_t* out, std::size_t size) = 0;
};

class FileInput : public RestoreInput {
  public:
    FileInput(const std::string& path, JobControl& control) {
        BusyPointer busy(control);
        reader_.emplace(path);
        stamp_ = reader_->CurrentStamp();
        CheckFileLength(reader_->Size(), path);
        if (reader_->Size() < 1) Raise({Fault::SourceChanged, path});
    }
    std::size_t Size() const override { return static_cast<std::size_t>(stamp_.size); }
    void Read(std::uint8_t* out, std::size_t size) override { reader_->Read(out, size); }
    const ChunkReader::Stamp& Stamp() const { return stamp_; }

  private:
    std::optional<ChunkReader> reader_;
    ChunkReader::Stamp stamp_;
};

class MemoryInput : public RestoreInput {
  public:
    explicit MemoryInput(const Bytes& file) : file_(file) {}
    std::size_t Size() const override { return file_.size(); }
    void Read(std::uint8_t* out, std::size_t size) override {
        std::memcpy(out, file_.data() + at_, size);
        at_ += size;
    }

  private:
    const Bytes& file_;
    std::size_t at_ = 0;
};

// Whether the first thread runs stage C too, leaving the second thread only the decoder, for
// data of dataSize bytes that decodes to `decoded` bytes: where decoding alone costs more than
// stages A and B, so that the two threads carry nearer to equal shares. Per byte of the file,
// stages A and B together cost about twice what stage C costs; the decoder's cost grows with
// the bytes it gives, and overtakes A and B's at about six and a half decoded bytes per byte
// (codes of little more than one bit, as in a file that is nearly all zeros). Text and
// programs give one and a half. The third thread, which writes, fills in on either processor.
bool WholeDecryptionFirst(std::size_t dataSize, std::size_t decoded) {
    return decoded / 6 > dataSize;
}

// The capacity of a piece's buffer, for files of the given size.
std::size_t PieceCapacity(std::size_t fileSize) {
    return 3 * std::min(kPiece, fileSize);
}

// What the decoding thread of a restore leaves for the calling thread, which reads the plain
// fields only after `ended` is set.
struct DecodeResult {
    std::atomic<bool> ended{false};
    std::exception_ptr decodeFailure; // the stream could not be decoded
    std::exception_ptr writeFailure;  // the output could not be written
    bool stored = false;
    std::uint8_t storedChecksum = 0;
    std::uint8_t checksum = 0;
    std::size_t wanted = 0;
    std::size_t produced = 0;
};

// The data of a restore, on three threads: the first reads the file and runs the first half
// of the decryption, the second the other half and the decoder, the third writes what is
// decoded into the sink. Without a sink nothing is written and there is no third thread.
class RestorePipeline {
  public:
    RestorePipeline(RestoreInput& input, ChunkBuffer first, const StoredHead& head, Cipher& cipher,
                    RestoreSink* sink, const JobRequest& request)
        : input_(input), first_(std::move(first)), size_(input.Size()), start_(head.dataStart),
          dataEnd_(size_ - vwx::kCheckValues), dataSize_(dataEnd_ - start_), checks_(head.checks),
          cipher_(cipher), sink_(sink), workers_(request.workerEnding, request.firstProcessor) {}
    // Decrypts the data, decoding alongside, and reads the check values.
    void Decrypt(JobControl& control, ProgressMeter& meter);
    bool ChecksAgree() const { return trailer_ == checks_; }
    // Once the check values agree: waits for the decoder and the writer and returns 0, or 5
    // when the checksum differs. Raises a decoding or write failure.
    std::int16_t FinishDecoding(JobControl& control);

  private:
    void StartWorkers();
    void KeyPass();
    void DecodePass();
    // Runs the second half of the decryption over the bytes [at, at + count) of the piece at
    // file offset `offset` and publishes them: the progress, and the check values once read.
    void SecondHalf(ChunkBuffer& piece, std::size_t offset, std::size_t at, std::size_t count);
    // Decodes those of the bytes [at, at + count), decrypted, that are data.
    void DecodeStep(ChunkBuffer& piece, std::size_t offset, std::size_t at, std::size_t count,
                    huffman::StreamDecoder& decoder);
    void WritePass();
    // False once the decoder has finished or failed.
    bool RunDecoder(huffman::StreamDecoder& decoder);
    // Passes the decoded bytes on and gives the decoder room for more. False when aborted.
    bool Flush(huffman::StreamDecoder& decoder);
    void Write(const std::uint8_t* data, std::size_t count);
    std::uint8_t* PartB(const ChunkBuffer& piece) const { return piece.Data() + piece_; }
    std::uint8_t* PartSum(const ChunkBuffer& piece) const { return piece.Data() + 2 * piece_; }

    RestoreInput& input_;
    ChunkBuffer first_;
    const std::size_t size_, start_, dataEnd_, dataSize_;
    const std::array<std::uint8_t, vwx::kCheckValues> checks_; // the header's
    const std::size_t piece_ = std::min(kPiece, size_);
    // The passes run on worker threads; otherwise one after the other on the calling thread,
    // the decoded bytes written as they come (kRestoredOnCaller).
    const bool threads_ = size_ > kRestoredOnCaller;
    Cipher& cipher_;
    RestoreSink* const sink_;
    bool decoding_ = true;    // the decoder neither finished nor failed
    // Stage C runs on the first thread for the pieces after the first (which it decrypts whole
    // anyway, to learn from the data's head how it decodes). Set before that piece is passed on.
    bool wholeFirst_ = false;
    bool lengthTold_ = false; // the sink knows the restored length
    ChunkBuffer output_;      // the decoder's
    std::atomic<std::uint64_t> decryptedBytes_{0};
    std::atomic<bool> checksRead_{false};
    std::array<std::uint8_t, vwx::kCheckValues> trailer_{}; // decrypted
    DecodeResult result_;
    ChunkQueue free_, keyed_;      // pieces: free, and with their key parts
    ChunkQueue outFree_, decoded_; // decoded bytes: free buffers, and buffers to write
    Workers workers_;              // last: stops before everything it uses goes
};

void RestorePipeline::Decrypt(JobControl& control, ProgressMeter& meter) {
    for (int c = 1; c < stream::kChunksInFlight && size_ > piece_; ++c)
        free_.Push(ChunkBuffer(PieceCapacity(size_)));
    // A stream of n bytes decodes to at most 8 n (one bit a byte). Without a writer thread one
    // buffer of the file's size, written whenever it is full, takes every decoded byte.
    const std::size_t outputSize = std::min(kChunkSize, std::max<std::size_t>(8 * size_, 4096));
    for (int c = 0; c < (sink_ && threads_ ? kOutputsInFlight : 1); ++c)
        outFree_.Push(ChunkBuffer(threads_ ? outputSize : std::max<std::size_t>(size_, 256)));
    if (!threads_) {
        // One piece, read whole: the key pass never waits for the decoder, and the decoder
        // never for a writer. A failure is raised straight from the pass.
        KeyPass();
        DecodePass();
    } else {
        StartWorkers();
    }
    Follow(
        workers_, control, kStatusRestoreCancelled, [this] { return checksRead_.load(); },
        [&] { meter.Show(Pass::Restore, decryptedBytes_.load(), dataSize_); });
}

void RestorePipeline::StartWorkers() {
    for (ChunkQueue* queue : {&free_, &keyed_, &outFree_, &decoded_})
        workers_.Watch(*queue);
    workers_.Start("vw-keystream", [this] { KeyPass(); });
    workers_.Start("vw-decoder", [this] { DecodePass(); });
    // The writer spends its time in the system: it runs wherever a processor is free.
    if (sink_)
        workers_.Start(
            "vw-writer", [this] { WritePass(); }, false);
}

void RestorePipeline::KeyPass() {
    ChunkBuffer piece = std::move(first_);
    std::size_t offset = 0; // file offset of piece.Data()[0]
    for (;;) {
        const std::size_t from = offset < start_ ? start_ - offset : 0;
        const bool whole = offset == 0 || wholeFirst_;
        for (std::size_t at = from; at < piece.size; at += stream::kCipherStep) {
            const std::size_t count = std::min(stream::kCipherStep, piece.size - at);
            cipher_.DecryptFirstHalf(piece.Data() + at, count, PartB(piece) + at,
                                     PartSum(piece) + at);
            if (whole) SecondHalf(piece, offset, at, count);
            if (workers_.Aborted()) return;
        }
        if (offset == 0) {
            const std::size_t head = std::min(piece.size, dataEnd_) - start_;
            wholeFirst_ = WholeDecryptionFirst(
                dataSize_, huffman::StatedLength(piece.Data() + start_, head, dataSize_));
        }
        offset += piece.size;
        if (!keyed_.Push(std::move(piece))) return;
        if (offset == size_) break;
        if (!free_.Pop(piece)) return;
        piece.size = std::min(piece_, size_ - offset);
        input_.Read(piece.Data(), piece.size);
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
        const bool decrypted = offset == 0 || wholeFirst_;
        for (std::size_t at = from; at < piece.size; at += stream::kCipherStep) {
            const std::size_t count = std::min(stream::kCipherStep, piece.size - at);
            if (!decrypted) SecondHalf(piece, offset, at, count);
            if (workers_.Aborted()) return;
            DecodeStep(piece, offset, at, count, decoder);
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

void RestorePipeline::SecondHalf(ChunkBuffer& piece, std::size_t offset, std::size_t at,
                                 std::size_t count) {
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
    // A file restored on the calling thread is decrypted whole before it is decoded: when its
    // check values disagree it is not decoded at all, since the restore ends with that.
    if (!threads_ && stepEnd == size_ && !ChecksAgree()) decoding_ = false;
    workers_.Notify();
}

void RestorePipeline::DecodeStep(ChunkBuffer& piece, std::size_t offset, std::size_t at,
                                 std::size_t count, huffman::StreamDecoder& decoder) {
    const std::size_t stepStart = offset + at, reached = std::min(stepStart + count, dataEnd_);
    if (decoding_ && reached > stepStart) {
        decoder.SetInput(piece.Data() + at, reached - stepStart, true);
        decoding_ = RunDecoder(decoder);
    }
}

void RestorePipeline::WritePass() {
    ChunkBuffer out;
    while (decoded_.Pop(out)) {
        Write(out.Data(), out.size);
        out.size = 0;
        if (!outFree_.Push(std::move(out))) return;
    }
}

// Whether a failure stops the restore at once: a sink's refusal of the restored length.
bool StopsAtOnce(const EngineError& e) {
    return e.failure().fault == Fault::MemoryLimit;
}

bool RestorePipeline::RunDecoder(huffman::StreamDecoder& decoder) {
    using Step = huffman::StreamDecoder::Step;
    try {
        for (;;) {
            const Step step = decoder.Run();
            if (step == Step::NeedInput) return true;
            if (step == Step::Finished) return false;
            if (!lengthTold_ && sink_) sink_->Expect(decoder.Wanted());
            lengthTold_ = true;
            if (!Flush(decoder)) return false;
        }
    } catch (const EngineError& e) {
        if (StopsAtOnce(e)) throw;
        result_.decodeFailure = std::current_exception();
    } catch (...) {
        result_.decodeFailure = std::current_exception();
    }
    return false;
}

bool RestorePipeline::Flush(huffman::StreamDecoder& decoder) {
    const std::size_t used = output_.Capacity() > 0 ? decoder.OutputUsed() : 0;
    if (used > 0) result_.checksum ^= huffman::XorOf(output_.Data(), used);
    if (sink_ && used > 0 && !threads_) {
        Write(output_.Data(), used); // no writer thread: the buffer is free again at once
    } else if (sink_ && used > 0) {
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
    } catch (const EngineError& e) {
        if (StopsAtOnce(e)) throw;
        result_.writeFailure = std::current_exception();
    } catch (...) {
        result_.writeFailure = std::current_exception();
    }
}

std::int16_t RestorePipeline::FinishDecoding(JobControl& control) {
    Follow(
        workers_, control, kStatusRestoreCancelled,
        [this] { return result_.ended.load(std::memory_order_acquire); }, [] {});
    workers_.Finish(); // the writer too
    if (result_.decodeFailure) std::rethrow_exception(result_.decodeFailure);
    if (!result_.stored &&
        (result_.checksum != result_.storedChecksum || result_.produced != result_.wanted)) {
        return kStatusChecksum;
    }
    if (result_.writeFailure) std::rethrow_exception(result_.writeFailure);
    return kStatusOk;
}

// The restore's two halves return the status they stop with (23, 5) rather than end the job
// with it: a memory restore sets it in its result without raising anything (an exception costs
// more than the restore of a small file), the file jobs end with it.
void EndUnlessOk(std::int16_t status) {
    if (status != kStatusOk) End(status);
}

// Keys the cipher and reads the head from the input's first piece into `first`. Returns 23
// when the header does not fit the file, else 0.
std::int16_t StartRestore(RestoreInput& input, const JobRequest& request, Cipher& cipher,
                          StoredHead& head, ChunkBuffer& first) {
    first = ChunkBuffer(PieceCapacity(input.Size()));
    first.size = std::min(kPiece, input.Size());
    input.Read(first.Data(), first.size);
    cipher.Init(request.password.View(), request.privateCode.View());
    return ReadStoredHead(cipher, first.Data(), input.Size(), head) ? kStatusOk
                                                                    : kStatusWrongPassword;
}

// The data after the head, into the sink (none when the head keeps a failure): returns 0, or
// the status the restore stops with.
std::int16_t RestoreData(RestoreInput& input, ChunkBuffer first, const StoredHead& head,
                         Cipher& cipher, RestoreSink* sink, const JobRequest& request,
                         JobControl& control) {
    ProgressMeter meter(control);
    RestorePipeline pipeline(input, std::move(first), head, cipher, head.failure ? nullptr : sink,
                             request);
    pipeline.Decrypt(control, meter);
    if (!pipeline.ChecksAgree()) return kStatusWrongPassword;
    // Whatever else is wrong with the file counts only once the check values agree. A refused
    // extension is raised again by SafeExtension, with its text as shown.
    if (head.failure && head.failure->fault == Fault::StoredExtensionInvalid)
        SafeExtension(head.extension);
    if (head.failure) Raise(*head.failure);
    if (const std::int16_t status = pipeline.FinishDecoding(control); status != kStatusOk)
        return status;
    meter.Complete();
    return kStatusOk;
}

// Keeps in the head that its extension could not be a file's, to be reported only if the check
// values agree: most damaged files, and every wrong password, fail on those first.
void ExpectSafeExtension(StoredHead& head) {
    if (!head.failure && !IsSafeExtension(head.extension))
        head.failure = Failure{Fault::StoredExtensionInvalid};
}

// The restore of a file into its result: the output path with the stored extension.
void RestoreIntoFile(FileInput& input, const JobRequest& request, JobControl& control,
                     JobResult& result) {
    const std::time_t start = std::time(nullptr);
    Cipher cipher;
    StoredHead head;
    ChunkBuffer first;
    EndUnlessOk(StartRestore(input, request, cipher, head, first));
    std::string path;
    try {
        path = WithoutExtension(request.output) + SafeExtension(head.extension);
        ResultFile(request, path).ExpectFree();
    } catch (const EngineError& e) {
        head.failure = e.failure();
    }
    FileSink sink(path, [&] { ClearLeftovers(request, path, start); });
    EndUnlessOk(RestoreData(input, std::move(first), head, cipher, &sink, request, control));
    ResultFile(request, path).Finish(control, input.Stamp(), [&](unsigned mode, bool replace) {
        sink.Commit(mode, replace);
    });
    result.written = path;
}

} // namespace

void RestoreFile(const JobRequest& request, JobControl& control, JobResult& result) {
    CheckFileLength(FileLength(request.source), request.source); // before anything is read
    FileInput input(request.source, control);
    if (request.kind == JobKind::Restore) return RestoreIntoFile(input, request, control, result);
    Cipher cipher;
    StoredHead head;
    ChunkBuffer first;
    EndUnlessOk(StartRestore(input, request, cipher, head, first));
    result.extension = head.extension;
    ExpectSafeExtension(head);
    if (request.kind == JobKind::Test) {
        return EndUnlessOk(
            RestoreData(input, std::move(first), head, cipher, nullptr, request, control));
    }
    SecureBytes().swap(*request.memory);
    MemorySink sink(*request.memory, request.memoryLimit);
    try {
        EndUnlessOk(RestoreData(input, std::move(first), head, cipher, &sink, request, control));
    } catch (...) {
        if (!sink.Refused()) SecureBytes().swap(*request.memory); // a refused file keeps its head
        throw;
    }
}

std::string RestoredPathOf(const JobRequest& request) {
    try {
        ChunkReader reader(request.source);
        Bytes head(static_cast<std::size_t>(
            std::min<std::int64_t>(reader.Size(), vwx::kMaxDataStart + vwx::kCheckValues)));
        reader.Read(head.data(), head.size());
        Cipher cipher;
        cipher.Init(request.password.View(), request.privateCode.View());
        StoredHead stored;
        const bool fits = ReadStoredHead(cipher, head.data(), head.size(), stored);
        SecureWipe(head);
        if (!fits || stored.failure) return {};
        return WithoutExtension(request.output) + SafeExtension(stored.extension);
    } catch (const EngineError&) {
        return {};
    }
}

} // namespace vw::job

namespace vw {

JobResult RestoreBytes(const Bytes& file, const JobRequest& keys, RestoreSink* sink,
                       JobControl& control) {
    std::string extension;
    std::int16_t ended = kStatusOk;
    JobResult result = job::RunInMemory(keys, file.size(), kStatusRestoreFailed, [&] {
        job::MemoryInput input(file);
        Cipher cipher;
        StoredHead head;
        stream::ChunkBuffer first;
        ended = job::StartRestore(input, keys, cipher, head, first);
        if (ended != kStatusOk) return;
        extension = head.extension;
        job::ExpectSafeExtension(head);
        ended = job::RestoreData(input, std::move(first), head, cipher, sink, keys, control);
    });
    if (result.status == kStatusOk) result.status = ended;
    result.extension = extension;
    return result;
}

} // namespace vw
