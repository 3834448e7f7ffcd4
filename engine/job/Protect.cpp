// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Protecting: a first pass counts the source's bytes for the code plan, a second one codes the
// source and encrypts the stream on two workers, straight into the protected file.
#include <array>
#include <cstring>
#include <ctime>
#include <optional>
#include <stdexcept>

#include "engine/cipher/Cipher.h"
#include "engine/codec/Huffman.h"
#include "engine/codec/HuffmanModel.h"
#include "engine/format/RandomHeader.h"
#include "engine/format/StoredHead.h"
#include "engine/format/VwxFormat.h"
#include "engine/io/Paths.h"
#include "engine/job/JobParts.h"
#include "engine/job/MemoryJobs.h"
#include "engine/job/StreamPipeline.h"

namespace vw::job {
namespace {

using stream::ChunkBuffer;
using stream::ChunkQueue;
using stream::kChunkSize;
using stream::Workers;
using Pass = ProgressMeter::Pass;

// Room past kChunkSize in a chunk of coded data, so that a block of input always fits.
constexpr std::size_t kCodedRoom = std::size_t{512} << 10;

// The room a plan's chunks need: kCodedRoom, or less when the whole input can give less, so
// that a small file's chunks are sized to it (four chunks of half a megabyte each, wiped when
// they go, took longer than the protect of a small file).
std::size_t CodedRoom(const huffman::EncoderPlan& plan) {
    return std::min(kCodedRoom, plan.MaxOutputFor(plan.InputSize()));
}

// The source of a protect, read in two passes from its first byte.
class ProtectSource {
  public:
    virtual ~ProtectSource() = default;
    virtual std::size_t Size() const = 0;
    // Starts a pass from the first byte. A later pass raises Fault::SourceChanged when the source
    // is no longer what the first one found.
    virtual void Begin() = 0;
    // Reads exactly size bytes; raises when the source ends first or cannot be read.
    virtual void Read(std::uint8_t* out, std::size_t size) = 0;
    // Raises Fault::SourceChanged unless the pass ended where the source ends, unchanged.
    virtual void End() = 0;
    // The path failures name ("" for bytes in memory).
    virtual std::string Name() const { return {}; }
};

// A source file: each pass opens it again, and the file must stay as the first pass found it.
class FileSource : public ProtectSource {
  public:
    FileSource(const std::string& path, JobControl& control) : path_(path) {
        BusyPointer busy(control);
        control.Yield();
        reader_.emplace(path);
        first_ = reader_->CurrentStamp();
        CheckFileLength(first_.size, path);
        if (first_.size < 1) Raise({Fault::SourceChanged, path});
    }
    std::size_t Size() const override { return static_cast<std::size_t>(first_.size); }
    void Begin() override {
        if (passes_++ == 0) return;
        reader_.reset(); // one descriptor at a time
        reader_.emplace(path_);
        if (reader_->CurrentStamp() != first_) Raise({Fault::SourceChanged, path_});
    }
    void Read(std::uint8_t* out, std::size_t size) override { reader_->Read(out, size); }
    void End() override {
        if (reader_->CurrentStamp() != first_) Raise({Fault::SourceChanged, path_});
        reader_->ExpectEnd();
    }
    std::string Name() const override { return path_; }
    const ChunkReader::Stamp& FirstStamp() const { return first_; }

  private:
    std::string path_;
    std::optional<ChunkReader> reader_;
    ChunkReader::Stamp first_;
    int passes_ = 0;
};

// Bytes in memory as a source.
class MemorySource : public ProtectSource {
  public:
    explicit MemorySource(const Bytes& data) : data_(data) {}
    std::size_t Size() const override { return data_.size(); }
    void Begin() override { at_ = 0; }
    void Read(std::uint8_t* out, std::size_t size) override {
        std::memcpy(out, data_.data() + at_, size);
        at_ += size;
    }
    void End() override {}

  private:
    const Bytes& data_;
    std::size_t at_ = 0;
};

// Where a protect writes the protected file's bytes, in order.
class ProtectOutput {
  public:
    virtual ~ProtectOutput() = default;
    virtual void Write(const std::uint8_t* data, std::size_t size) = 0;
};

class FileOutput : public ProtectOutput {
  public:
    explicit FileOutput(const std::string& path) : file_(path) {}
    void Write(const std::uint8_t* data, std::size_t size) override { file_.Write(data, size); }
    AtomicFile& File() { return file_; }

  private:
    AtomicFile file_;
};

class MemoryOutput : public ProtectOutput {
  public:
    explicit MemoryOutput(Bytes& out) : out_(out) {}
    void Write(const std::uint8_t* data, std::size_t size) override {
        out_.insert(out_.end(), data, data + size);
    }

  private:
    Bytes& out_;
};

// What the first pass over the source learns.
struct SourceCounts {
    huffman::ByteCounter counter;
    std::uint8_t checksum = 0;
};

// The first pass over the source: its byte counts and checksum.
void CountSource(ProtectSource& source, SourceCounts& counts, JobControl& control,
                 ProgressMeter& meter) {
    const std::size_t n = source.Size();
    ChunkBuffer chunk(std::min(kChunkSize, n));
    source.Begin();
    for (std::size_t offset = 0; offset < n;) {
        const std::size_t size = std::min(kChunkSize, n - offset);
        source.Read(chunk.Data(), size);
        counts.counter.Add(chunk.Data(), size);
        counts.checksum ^= huffman::XorOf(chunk.Data(), size);
        offset += size;
        meter.Show(Pass::Count, offset, n);
        control.Yield();
        if (control.Cancelled()) End(kStatusProtectCancelled);
    }
    source.End();
}

// The plain head of a protected file: the random header, the source's extension and the
// terminator; and the check values, the header's last two bytes, which the file repeats at its
// end.
struct Head {
    ~Head() { SecureWipe(bytes); }
    std::string bytes;
    std::array<std::uint8_t, vwx::kCheckValues> checks{};
};

// Raises, before anything is written, when the protected file would be too long to restore.
void MakeHead(const JobRequest& request, const std::string& extension, std::uint64_t streamSize,
              Head& head) {
    // Judged with the longest header the writer can draw, so that a file always gets the same
    // answer.
    if (!vwx::FitsTheFormat(vwx::kMaxHeaderLength, extension.size(), streamSize))
        Raise({Fault::SourceTooLarge, request.source});
    head.bytes = request.header ? request.header() : MakeRandomHeader(request.entropy);
    const std::size_t n = head.bytes.size();
    for (std::size_t k = 0; k < head.checks.size(); ++k)
        head.checks[k] = static_cast<std::uint8_t>(head.bytes[n - head.checks.size() + k]);
    head.bytes += extension;
    head.bytes.push_back(static_cast<char>(vwx::kTerminator));
}

// The second pass: the coder codes the source into chunks of the compressed stream (the plan was
// made from the first pass's counts, which the source must still give), the encrypter encrypts
// them and writes them, then the check values.
class ProtectPipeline {
  public:
    ProtectPipeline(ProtectSource& source, const huffman::EncoderPlan& plan,
                    const SourceCounts& counts, const Head& head, Cipher& cipher,
                    ProtectOutput& out, std::function<void()> workerEnding)
        : source_(source), plan_(plan), counts_(counts), head_(head), cipher_(cipher), out_(out),
          workers_(std::move(workerEnding)) {}
    void Run(JobControl& control, ProgressMeter& meter);

  private:
    void CodePass();
    void CopyPass(ChunkBuffer out, std::size_t used);
    void EncryptPass();

    ProtectSource& source_;
    const huffman::EncoderPlan& plan_;
    const SourceCounts& counts_;
    const Head& head_;
    Cipher& cipher_;
    ProtectOutput& out_;
    std::atomic<std::uint64_t> encryptedBytes_{0};
    std::atomic<bool> written_{false};
    ChunkQueue free_, coded_;
    Workers workers_; // last: stops before everything it uses goes
};

void ProtectPipeline::Run(JobControl& control, ProgressMeter& meter) {
    workers_.Watch(free_);
    workers_.Watch(coded_);
    // Chunks sized to the stream when it is small.
    const std::size_t chunk = std::min(kChunkSize, plan_.StreamSize()) + CodedRoom(plan_);
    for (int k = 0; k < stream::kChunksInFlight; ++k)
        free_.Push(ChunkBuffer(chunk));
    workers_.Start("vw-coder", [this] { CodePass(); });
    workers_.Start("vw-encrypter", [this] { EncryptPass(); });
    const std::uint64_t m = plan_.StreamSize();
    Follow(
        workers_, control, kStatusProtectCancelled, [this] { return written_.load(); },
        [&] { meter.Show(Pass::Code, encryptedBytes_.load(std::memory_order_acquire), m); });
    workers_.Finish();
}

void ProtectPipeline::CodePass() {
    ChunkBuffer out;
    if (!free_.Pop(out)) return;
    source_.Begin();
    const Bytes head = plan_.Head(counts_.checksum);
    std::memcpy(out.Data(), head.data(), head.size());
    if (plan_.Stored()) return CopyPass(std::move(out), head.size());

    const std::size_t n = plan_.InputSize();
    std::size_t block = std::size_t{64} << 10;
    while (block > 1 && plan_.MaxOutputFor(block) > CodedRoom(plan_))
        block /= 2;
    ChunkBuffer input(std::min(kChunkSize, n));
    huffman::ByteCounter recounted;
    std::uint8_t xorAgain = 0;
    std::size_t emitted = 0;
    huffman::BitWriter writer(out.Data() + head.size());
    for (std::size_t offset = 0; offset < n;) {
        const std::size_t size = std::min(kChunkSize, n - offset);
        source_.Read(input.Data(), size);
        recounted.Add(input.Data(), size);
        xorAgain ^= huffman::XorOf(input.Data(), size);
        for (std::size_t from = 0; from < size;) {
            const std::size_t count = std::min(block, size - from);
            const auto used = static_cast<std::size_t>(writer.Position() - out.Data());
            if (used + plan_.MaxOutputFor(count) > out.Capacity()) {
                ChunkBuffer next;
                if (!free_.Pop(next)) return;
                writer.MoveTo(next.Data());
                out.size = used;
                emitted += used;
                if (!coded_.Push(std::move(out))) return;
                out = std::move(next);
            }
            plan_.Code(writer, input.Data() + from, count);
            from += count;
        }
        offset += size;
        if (workers_.Aborted()) return;
    }
    out.size = static_cast<std::size_t>(writer.End() - out.Data());
    emitted += out.size;
    if (!recounted.SameCounts(counts_.counter) || xorAgain != counts_.checksum ||
        emitted != plan_.StreamSize()) {
        Raise({Fault::SourceChanged, source_.Name()});
    }
    source_.End();
    if (coded_.Push(std::move(out))) coded_.Close();
}

// The stored form: the source unchanged after the identification bytes, read straight in.
void ProtectPipeline::CopyPass(ChunkBuffer out, std::size_t used) {
    const std::size_t n = plan_.InputSize();
    for (std::size_t offset = 0; offset < n;) {
        if (used == out.Capacity()) {
            out.size = used;
            if (!coded_.Push(std::move(out)) || !free_.Pop(out)) return;
            used = 0;
        }
        const std::size_t take = std::min(out.Capacity() - used, n - offset);
        source_.Read(out.Data() + used, take);
        used += take;
        offset += take;
        if (workers_.Aborted()) return;
    }
    source_.End();
    out.size = used;
    if (coded_.Push(std::move(out))) coded_.Close();
}

void ProtectPipeline::EncryptPass() {
    ChunkBuffer chunk;
    std::uint64_t done = 0;
    while (coded_.Pop(chunk)) {
        for (std::size_t from = 0; from < chunk.size; from += stream::kCipherStep) {
            const std::size_t count = std::min(stream::kCipherStep, chunk.size - from);
            cipher_.EncryptBlock(chunk.Data() + from, count);
            done += count;
            encryptedBytes_.store(done, std::memory_order_release);
            workers_.Notify();
            if (workers_.Aborted()) return;
        }
        out_.Write(chunk.Data(), chunk.size);
        chunk.size = 0;
        if (!free_.Push(std::move(chunk))) return;
    }
    if (workers_.Aborted()) return;
    if (done != plan_.StreamSize())
        throw std::logic_error("compressed stream size differs from its plan");
    std::array<std::uint8_t, vwx::kCheckValues> trailer = head_.checks;
    cipher_.EncryptBlock(trailer.data(), trailer.size());
    out_.Write(trailer.data(), trailer.size());
    written_.store(true, std::memory_order_release);
}

// A protect in its two passes: the counts, the head and the code plan, then the head encrypted
// and written to the output that `open` gives, and the coded, encrypted stream after it.
void Protect(ProtectSource& source, const std::string& extension, const JobRequest& request,
             JobControl& control, const std::function<ProtectOutput&()>& open) {
    ProgressMeter meter(control);
    SourceCounts counts;
    CountSource(source, counts, control, meter);
    const huffman::EncoderPlan plan(counts.counter, source.Size());
    Head head;
    MakeHead(request, extension, plan.StreamSize(), head);
    Cipher cipher;
    cipher.Init(request.password.View(), request.privateCode.View());
    auto* headBytes = reinterpret_cast<std::uint8_t*>(head.bytes.data());
    cipher.EncryptBlock(headBytes, head.bytes.size());
    ProtectOutput& out = open();
    out.Write(headBytes, head.bytes.size());
    ProtectPipeline(source, plan, counts, head, cipher, out, request.workerEnding)
        .Run(control, meter);
    meter.Complete();
}

} // namespace

void ProtectFile(const JobRequest& request, JobControl& control, JobResult& result) {
    const std::time_t start = std::time(nullptr);
    const ResultFile file(request, WithoutExtension(request.output) + vwx::kExtension);
    file.ExpectFree();
    const std::string extension = StorableExtension(request.source);
    CheckFileLength(FileLength(request.source), request.source); // before anything is read
    FileSource source(request.source, control);
    std::optional<FileOutput> out;
    Protect(source, extension, request, control, [&]() -> ProtectOutput& {
        RemoveStaleTempFiles(FolderOf(file.Path()), start, request.source);
        return out.emplace(file.Path());
    });
    file.Finish(control, source.FirstStamp(),
                [&](unsigned mode, bool replace) { out->File().Commit(mode, replace); });
    result.written = file.Path();
}

} // namespace vw::job

namespace vw {

JobResult ProtectBytes(const Bytes& data, std::string_view extension, const JobRequest& keys,
                       Bytes& out, JobControl& control) {
    return job::RunInMemory(keys, data.size(), kStatusProtectFailed, [&] {
        job::MemorySource source(data);
        job::MemoryOutput output(out);
        job::Protect(source, std::string(extension), keys, control,
                     [&]() -> job::ProtectOutput& { return output; });
    });
}

} // namespace vw
