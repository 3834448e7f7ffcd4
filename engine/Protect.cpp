// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Protecting a file: a first pass counts the source's bytes for the code plan, a second one
// codes the source and encrypts the stream on two workers, straight into the protected file.
#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "engine/Cipher.h"
#include "engine/Cp1252.h"
#include "engine/Host.h"
#include "engine/Huffman.h"
#include "engine/HuffmanModel.h"
#include "engine/Job.h"
#include "engine/JobStage.h"
#include "engine/Paths.h"
#include "engine/ProtectedFileHooks.h"
#include "engine/RandomHeader.h"
#include "engine/StoredHead.h"
#include "engine/VwxFormat.h"

namespace vw {

namespace hooks {
std::string (*ProtectHeaderSource)() = nullptr;
} // namespace hooks

namespace {

using stream::ChunkBuffer;
using stream::ChunkQueue;
using stream::kChunkSize;
using stream::Workers;
using stream::YieldReplay;
using Stamp = ChunkReader::Stamp;

// Room past kChunkSize in a chunk of coded data, so that a block of input always fits.
constexpr std::size_t kCodedRoom = std::size_t{512} << 10;

// What the first pass over the source learns.
struct SourceCounts {
    huffman::ByteCounter counter;
    std::uint8_t checksum = 0;
    Stamp stamp; // the source as the first pass found it
};

// The first pass over the source: its byte counts and checksum, with the yield points of
// counting. False when cancelled.
bool CountSource(const std::string& path, SourceCounts& counts) {
    std::optional<ChunkReader> reader;
    {
        BusyPointer busy;
        CurrentHost().ProcessEvents();
        reader.emplace(path);
    }
    counts.stamp = reader->CurrentStamp();
    CheckFileLength(counts.stamp.size, path);
    if (counts.stamp.size < 1) throw SourceChanged(path);
    const auto n = static_cast<std::size_t>(counts.stamp.size);
    const double total = static_cast<double>(n);

    LastProgress = 0;
    ChunkBuffer chunk(kChunkSize);
    for (std::size_t offset = 0; offset < n;) {
        const std::size_t size = std::min(kChunkSize, n - offset);
        reader->Read(chunk.Data(), size);
        if (!RunWithYieldsOver(
                offset, offset + size, huffman::kCountingYieldInterval,
                [&](std::size_t from, std::size_t to) {
                    const std::uint8_t* block = chunk.Data() + (from - offset);
                    counts.counter.Add(block, to - from);
                    counts.checksum ^= huffman::XorOf(block, to - from);
                },
                [&](std::size_t i) { return static_cast<double>(i) / total * 3; })) {
            return false;
        }
        offset += size;
    }
    ExpectPassComplete(*reader, counts.stamp, path);
    return true;
}

// The checksum was taken along with the counts; its yield points follow them. False when
// cancelled.
bool PassChecksumYields(const huffman::EncoderPlan& plan) {
    if (plan.Stored()) return !CancelRequested;
    const double total = static_cast<double>(plan.InputSize());
    YieldReplay checksumStage(huffman::kYieldInterval, [&](double i) { return i / total * 3 + 3; });
    return checksumStage.Upto(plan.InputSize());
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
void MakeHead(const std::string& extension, const std::string& sourcePath, std::uint64_t streamSize,
              Head& head) {
    head.bytes = hooks::ProtectHeaderSource ? hooks::ProtectHeaderSource() : MakeRandomHeader();
    const std::size_t n = head.bytes.size();
    for (std::size_t k = 0; k < head.checks.size(); ++k)
        head.checks[k] = static_cast<std::uint8_t>(head.bytes[n - head.checks.size() + k]);
    head.bytes += extension;
    // Judged with the longest header the writer can draw, so that a file always gets the same
    // answer.
    if (!vwx::FitsTheFormat(vwx::kMaxHeaderLength, extension.size(), streamSize))
        throw EngineError("the file \"" + sourcePath +
                          "\" is too large for the format: protected, it would take 2 GiB or more");
    head.bytes.push_back(static_cast<char>(vwx::kTerminator));
}

// The second pass of a protect: the coder codes the source into chunks of the compressed
// stream (the plan was made from the first pass's counts, which the source must still give),
// the encrypter encrypts them and writes them, then the check values.
class ProtectPipeline {
  public:
    ProtectPipeline(ChunkReader& source, const std::string& path, const huffman::EncoderPlan& plan,
                    const SourceCounts& counts, const Head& head, AtomicFile& out)
        : source_(source), path_(path), plan_(plan), counts_(counts), head_(head), out_(out) {}
    // False when cancelled.
    bool Run();

  private:
    void CodePass();
    void CopyPass(ChunkBuffer out, std::size_t used);
    void EncryptPass();

    ChunkReader& source_;
    const std::string& path_;
    const huffman::EncoderPlan& plan_;
    const SourceCounts& counts_;
    const Head& head_;
    AtomicFile& out_;
    Cipher& cipher_ = TheCipher();
    std::atomic<std::uint64_t> codedBytes_{0};
    std::atomic<std::uint64_t> encryptedBytes_{0};
    ChunkQueue free_, coded_;
    Workers workers_; // last: stops before everything it uses goes
};

bool ProtectPipeline::Run() {
    workers_.Watch(free_);
    workers_.Watch(coded_);
    for (int k = 0; k < stream::kChunksInFlight; ++k)
        free_.Push(ChunkBuffer(kChunkSize + kCodedRoom));
    workers_.Start("vw-coder", [this] { CodePass(); });
    workers_.Start("vw-encrypter", [this] { EncryptPass(); });

    const std::size_t n = plan_.InputSize();
    if (!plan_.Stored()) {
        const double total = static_cast<double>(n);
        YieldReplay codingStage(huffman::kYieldInterval,
                                [&](double i) { return i / total * 44 + 3 + 3; });
        if (!FollowStage(workers_, codedBytes_, n, codingStage) || CancelRequested) return false;
    }
    const std::uint64_t m = plan_.StreamSize();
    const double last = static_cast<double>(m - 1);
    YieldReplay encryptionStage(kCipherYieldInterval,
                                [&](double i) { return i / last * 44 + 3 + 3 + 50; });
    if (!FollowStage(workers_, encryptedBytes_, m, encryptionStage)) return false;
    // The encrypter writes its last chunk and the check values after its count is complete.
    workers_.Finish();
    return true;
}

void ProtectPipeline::CodePass() {
    ChunkBuffer out;
    if (!free_.Pop(out)) return;
    const Bytes head = plan_.Head(counts_.checksum);
    std::memcpy(out.Data(), head.data(), head.size());
    if (plan_.Stored()) return CopyPass(std::move(out), head.size());

    const std::size_t n = plan_.InputSize();
    std::size_t block = std::size_t{64} << 10;
    while (block > 1 && plan_.MaxOutputFor(block) > kCodedRoom)
        block /= 2;
    ChunkBuffer input(kChunkSize);
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
        codedBytes_.store(offset, std::memory_order_release);
        workers_.Notify();
        if (workers_.Aborted()) return;
    }
    out.size = static_cast<std::size_t>(writer.End() - out.Data());
    emitted += out.size;
    if (!recounted.SameCounts(counts_.counter) || xorAgain != counts_.checksum ||
        emitted != plan_.StreamSize()) {
        throw SourceChanged(path_);
    }
    ExpectPassComplete(source_, counts_.stamp, path_);
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
    ExpectPassComplete(source_, counts_.stamp, path_);
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
    for (std::uint8_t& b : trailer)
        b = cipher_.EncryptByte(b);
    out_.Write(trailer.data(), trailer.size());
}

} // namespace

std::string ProtectJob(const Job& job) {
    CipherWipe wipe;
    const std::string written = WithoutExtension(job.output) + vwx::kExtension;
    ExpectFreePath(job, written);
    const std::string extension = StorableExtension(job.source);
    CheckFileLength(FileLength(job.source), job.source);
    SourceCounts counts;
    if (!CountSource(job.source, counts)) return StoppedAs(kStatusProtectCancelled, job);
    const huffman::EncoderPlan plan(counts.counter, static_cast<std::size_t>(counts.stamp.size));
    if (!PassChecksumYields(plan)) return StoppedAs(kStatusProtectCancelled, job);

    Head head;
    MakeHead(extension, job.source, plan.StreamSize(), head);
    Cipher& cipher = TheCipher();
    cipher.Init(job.password, job.privateCode);
    auto* headBytes = reinterpret_cast<std::uint8_t*>(head.bytes.data());
    cipher.EncryptBlock(headBytes, head.bytes.size());

    RemoveStaleTempFiles(FolderOf(written), job.start);
    AtomicFile out(written);
    out.Write(headBytes, head.bytes.size());
    ChunkReader source(job.source);
    if (source.CurrentStamp() != counts.stamp) throw SourceChanged(job.source);
    ProtectPipeline pipeline(source, job.source, plan, counts, head, out);
    if (!pipeline.Run()) return StoppedAs(kStatusProtectCancelled, job);
    return FinishJob(job, written, counts.stamp,
                     [&](unsigned mode, bool replace) { out.Commit(mode, replace); });
}

} // namespace vw
