#include "engine/ProtectedFile.h"

#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <limits>
#include <optional>
#include <stdexcept>

#include "engine/Cipher.h"
#include "engine/Cp1252.h"
#include "engine/FileIO.h"
#include "engine/Host.h"
#include "engine/Huffman.h"
#include "engine/HuffmanModel.h"
#include "engine/HuffmanStreamDecoder.h"
#include "engine/JobState.h"
#include "engine/Paths.h"
#include "engine/ProtectedFileHooks.h"
#include "engine/StreamPipeline.h"

namespace vw {

std::string EntropyPool;
MousePosition LastMousePosition;

namespace hooks {
std::string (*ProtectHeaderSource)() = nullptr;
} // namespace hooks

namespace {

constexpr std::size_t kEntropyPoolSize = 251;
// The data start (header, extension and terminator) is a signed 16-bit offset.
constexpr std::size_t kMaxDataStart = 32767;

// Shows the busy pointer for a scope.
class BusyPointer {
  public:
    BusyPointer() { CurrentHost().SetBusy(true); }
    ~BusyPointer() { CurrentHost().SetBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

// Uniform random bytes from the system's secure source.
void RandomBytes(std::uint8_t* out, std::size_t size) {
    while (size > 0) {
        const ssize_t got = ::getrandom(out, size, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            throw EngineError("the system's random source failed");
        }
        out += got;
        size -= static_cast<std::size_t>(got);
    }
}

std::uint8_t RandomByte() {
    std::uint8_t b = 0;
    RandomBytes(&b, 1);
    return b;
}

// A uniform value 0 .. bound-1 (bound <= 256).
unsigned RandomBelow(unsigned bound) {
    const unsigned limit = 256 - 256 % bound;
    for (;;) {
        const unsigned b = RandomByte();
        if (b < limit) return b % bound;
    }
}

void CheckSourceSize(std::int64_t length, const std::string& path) {
    if (length > kMaxFileLength)
        throw EngineError("the file \"" + path + "\" is too large for the format (2 GiB or more)");
}

struct JobKeys {
    // Wipes the cipher state when the job ends, however it ends.
    ~JobKeys() { TheCipher().Wipe(); }
};

using stream::ChunkBuffer;
using stream::ChunkQueue;
using stream::kChunkSize;
using stream::Workers;
using stream::YieldReplay;
using Stamp = ChunkReader::Stamp;

// The cipher publishes its progress after every piece of this size.
constexpr std::size_t kCipherStep = std::size_t{64} << 10;
// Chunks in flight between two threads.
constexpr int kChunksInFlight = 4;
// Room past kChunkSize in a chunk of coded data, so that a block of input always fits.
constexpr std::size_t kCodedRoom = std::size_t{512} << 10;

// Waits for a worker's counter to reach `total`, replaying the stage's yield points as it
// moves. False when cancelled; raises a worker's failure.
bool FollowStage(Workers& workers, const std::atomic<std::uint64_t>& counter, std::uint64_t total,
                 YieldReplay& replay) {
    for (;;) {
        const std::uint64_t done = counter.load(std::memory_order_acquire);
        if (!replay.Upto(std::min(done, total))) return false;
        if (done >= total) return true;
        workers.WaitUntil([&] { return counter.load(std::memory_order_acquire) != done; });
        if (workers.Failed()) {
            workers.Join();
            workers.RethrowFailure();
        }
    }
}

// Waits for a worker's flag; raises a worker's failure.
void WaitFor(Workers& workers, const std::atomic<bool>& flag) {
    workers.WaitUntil([&] { return flag.load(std::memory_order_acquire); });
    if (workers.Failed()) {
        workers.Join();
        workers.RethrowFailure();
    }
}

std::string StoppedAs(std::int16_t status, const std::string& sourcePath) {
    JobStatus = status;
    return sourcePath;
}

// One protect or restore as the caller asked for it.
struct Job {
    const std::string& source;
    const std::string& output;
    const std::string& password;
    const std::string& privateCode;
    Overwrite overwrite;
    std::time_t start;
};

// Whether the result may take the place of a file already at its path: always when allowed,
// otherwise only the source itself, when the caller chose the source as the output path.
bool MayReplace(const Job& job, const std::string& written) {
    return job.overwrite == Overwrite::Allowed ||
           (job.output == job.source && written == job.source);
}

// Raises OutputExistsError when something sits at the result's path that it may not replace.
void ExpectFreePath(const Job& job, const std::string& written) {
    struct stat st {};
    if (!MayReplace(job, written) && ::lstat(written.c_str(), &st) == 0)
        throw OutputExistsError(written);
}

EngineError SourceChanged(const std::string& path) {
    return EngineError("the file \"" + path + "\" changed during the job; nothing was written");
}

// The stamp of the file at a path now; none when nothing is there.
std::optional<Stamp> StampAt(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    auto ns = [](const timespec& t) {
        return static_cast<std::int64_t>(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    return Stamp{static_cast<std::int64_t>(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

// Raises unless the file at the path is still the one the job read, as it read it.
void ExpectUnchanged(const std::string& path, const Stamp& seen) {
    if (StampAt(path) != seen) throw SourceChanged(path);
}

// After a whole pass over a file: raises unless the file still looks as it did when the job
// began and ends where the pass ended.
void ExpectPassComplete(ChunkReader& reader, const Stamp& seen, const std::string& path) {
    if (reader.CurrentStamp() != seen) throw SourceChanged(path);
    reader.ExpectEnd();
}

// When the output path chosen was the source itself, the new file replaces the source: the
// source is deleted, but only once the new file is complete under its own name, and only when
// it is still the file the job read.
void ReplaceSourceIfChosen(const Job& job, const std::string& written, const Stamp& seen) {
    if (job.output != job.source || written == job.source) return;
    const std::optional<Stamp> now = StampAt(job.source);
    if (!now) return;
    if (*now != seen)
        throw EngineError("the file \"" + job.source +
                          "\" changed during the job, so it was kept; \"" + written +
                          "\" holds what it contained before");
    if (::unlink(job.source.c_str()) != 0)
        throw EngineError("\"" + written + "\" was written, but \"" + job.source +
                          "\" could not be deleted: " + std::strerror(errno));
}

// --- Protect ---------------------------------------------------------------------------------

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
    CheckSourceSize(counts.stamp.size, path);
    if (counts.stamp.size < 1) throw SourceChanged(path);
    const auto n = static_cast<std::size_t>(counts.stamp.size);
    const double total = static_cast<double>(n);

    LastProgress = 0;
    ChunkBuffer chunk(kChunkSize);
    for (std::size_t offset = 0; offset < n;) {
        const std::size_t size = std::min(kChunkSize, n - offset);
        reader->Read(chunk.Data(), size);
        if (!RunWithYieldsOver(
                offset, offset + size, 1000,
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
    YieldReplay checksumStage(10000, [&](double i) { return i / total * 3 + 3; });
    return checksumStage.Upto(plan.InputSize());
}

// The plain head of a protected file: the random header, the source's extension and the
// terminator; and the check values, the header's last two bytes, which the file repeats at its
// end.
struct Head {
    ~Head() { SecureWipe(bytes); }
    std::string bytes;
    std::uint8_t check1 = 0;
    std::uint8_t check2 = 0;
};

// Raises, before anything is written, when the protected file would be too long to restore.
void MakeHead(const std::string& sourcePath, std::uint64_t streamSize, Head& head) {
    head.bytes = hooks::ProtectHeaderSource ? hooks::ProtectHeaderSource() : MakeRandomHeader();
    const std::size_t n = head.bytes.size();
    head.check1 = static_cast<std::uint8_t>(head.bytes[n - 2]);
    head.check2 = static_cast<std::uint8_t>(head.bytes[n - 1]);
    head.bytes += Utf8ToCp1252(ExtensionOf(sourcePath));
    if (!FitsTheFormat(n, head.bytes.size() - n, streamSize))
        throw EngineError("the file \"" + sourcePath +
                          "\" is too large for the format: protected, it would take 2 GiB or more");
    head.bytes.push_back('\0');
}

// The second pass of a protect: one thread codes the source into chunks of the compressed
// stream (the plan was made from the first pass's counts, which the source must still give),
// the other encrypts them and writes them, then the check values.
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
    std::atomic<bool> sealed_{false};
    ChunkQueue free_, coded_;
    Workers workers_; // last: stops before everything it uses goes
};

bool ProtectPipeline::Run() {
    workers_.Watch(free_);
    workers_.Watch(coded_);
    for (int k = 0; k < kChunksInFlight; ++k)
        free_.Push(ChunkBuffer(kChunkSize + kCodedRoom));
    workers_.Start([this] { CodePass(); });
    workers_.Start([this] { EncryptPass(); });

    const std::size_t n = plan_.InputSize();
    if (!plan_.Stored()) {
        const double total = static_cast<double>(n);
        YieldReplay codingStage(10000, [&](double i) { return i / total * 44 + 3 + 3; });
        if (!FollowStage(workers_, codedBytes_, n, codingStage) || CancelRequested) return false;
    }
    const std::uint64_t m = plan_.StreamSize();
    const double last = static_cast<double>(m - 1);
    YieldReplay encryptionStage(5000, [&](double i) { return i / last * 44 + 3 + 3 + 50; });
    if (!FollowStage(workers_, encryptedBytes_, m, encryptionStage)) return false;
    WaitFor(workers_, sealed_);
    workers_.Join();
    workers_.RethrowFailure();
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
        for (std::size_t from = 0; from < chunk.size; from += kCipherStep) {
            const std::size_t count = std::min(kCipherStep, chunk.size - from);
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
    const std::uint8_t checks[2] = {cipher_.EncryptByte(head_.check1),
                                    cipher_.EncryptByte(head_.check2)};
    out_.Write(checks, sizeof checks);
    sealed_.store(true, std::memory_order_release);
}

std::string ProtectFileImpl(const Job& job) {
    JobKeys keys;
    const std::string written = WithoutExtension(job.output) + ".vwx";
    ExpectFreePath(job, written);
    CheckSourceSize(FileLength(job.source), job.source);
    SourceCounts counts;
    if (!CountSource(job.source, counts)) return StoppedAs(kStatusProtectCancelled, job.source);
    const huffman::EncoderPlan plan(counts.counter, static_cast<std::size_t>(counts.stamp.size));
    if (!PassChecksumYields(plan)) return StoppedAs(kStatusProtectCancelled, job.source);

    Head head;
    MakeHead(job.source, plan.StreamSize(), head);
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
    if (!pipeline.Run()) return StoppedAs(kStatusProtectCancelled, job.source);
    {
        BusyPointer busy;
        ExpectUnchanged(job.source, counts.stamp);
        out.Commit(FilePermissions(job.source), MayReplace(job, written));
    }
    ReplaceSourceIfChosen(job, written, counts.stamp);
    return written;
}

// --- Restore ---------------------------------------------------------------------------------

// Whether a stored byte stands for a control character: C0, DEL, and the code page's bytes
// without a character of their own, which stand for C1 controls.
bool IsControlCharacter(unsigned char byte) {
    if (byte < 0x20 || byte == 0x7F) return true;
    const std::string utf8 = Cp1252ToUtf8(std::string(1, static_cast<char>(byte)));
    return utf8.size() == 2 && static_cast<unsigned char>(utf8[0]) == 0xC2 &&
           static_cast<unsigned char>(utf8[1]) < 0xA0;
}

// The stored extension for a message, its control characters written as \xHH.
std::string PrintableExtension(const std::string& storedBytes) {
    std::string text;
    for (const char c : storedBytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (IsControlCharacter(byte)) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
            text += escaped;
        } else {
            text += Cp1252ToUtf8(std::string(1, c));
        }
    }
    return text;
}

// The stored extension as it will become part of a file name; refuses one that could name
// another folder or that holds control characters.
std::string SafeExtension(const std::string& storedBytes) {
    if (storedBytes.empty()) return {};
    const bool control = std::any_of(storedBytes.begin(), storedBytes.end(), [](char c) {
        return IsControlCharacter(static_cast<unsigned char>(c));
    });
    if (control || storedBytes == "." || storedBytes == ".." ||
        storedBytes.find('/') != std::string::npos) {
        throw EngineError("the stored extension \"" + PrintableExtension(storedBytes) +
                          "\" is not a valid file name extension");
    }
    std::string extension(1, '.');
    extension += Cp1252ToUtf8(storedBytes);
    return extension;
}

// The head of a protected file, decrypted.
struct StoredHead {
    std::uint8_t check1 = 0;
    std::uint8_t check2 = 0;
    std::string extension; // as stored, in the code page
    std::size_t dataStart = 0;
    // Why the file cannot be restored, reported only if its check values agree.
    std::exception_ptr failure;
};

// Decrypts the header and the stored extension from the file's first bytes a[0, size). False
// when the header does not leave room for a terminator and the check values. The terminator
// must come before the check values and within the data start the format allows; without one
// the data is taken to start where the search ended, so that the check values can still be read.
bool ReadStoredHead(Cipher& cipher, const std::uint8_t* a, std::size_t size, StoredHead& head) {
    const std::size_t n = cipher.DecryptByte(a[0]);
    if (n + 3 > size) return false;
    for (std::size_t j = 2; j <= n; ++j) {
        const std::uint8_t b = cipher.DecryptByte(a[j - 1]);
        if (j == n - 1) head.check1 = b;
        if (j == n) head.check2 = b;
    }
    const std::size_t limit = std::min(size - 2, kMaxDataStart);
    std::size_t p = n;
    while (p < limit) {
        const std::uint8_t b = cipher.DecryptByte(a[p++]);
        if (b == 0) {
            head.dataStart = p;
            return true;
        }
        head.extension.push_back(static_cast<char>(b));
    }
    head.dataStart = p;
    head.failure = std::make_exception_ptr(EngineError(
        p == size - 2 ? "the stored extension has no end (damaged file)"
                      : "the header and the stored extension are longer than the format allows"));
    return true;
}

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
    std::atomic<std::uint64_t> yields{0};     // yield points of decoding passed
    std::atomic<std::uint64_t> firstYield{0}; // the stream position of the first one
    std::atomic<bool> ended{false};
    std::exception_ptr decodeFailure; // the stream could not be decoded
    std::exception_ptr writeFailure;  // the output could not be written
    bool stored = false;
    std::uint8_t storedChecksum = 0;
    std::uint8_t checksum = 0;
    std::size_t wanted = 0;
    std::size_t produced = 0;
};

// The data of a restore: one thread reads and decrypts it, the other decodes it and writes the
// result under a temporary name until Commit. With `writing` false nothing is written.
class RestorePipeline {
  public:
    RestorePipeline(ChunkReader& reader, ChunkBuffer first, std::size_t size, std::size_t start,
                    const std::string& written, bool writing, std::time_t jobStart)
        : reader_(reader), first_(std::move(first)), size_(size), start_(start), dataEnd_(size - 2),
          dataSize_(size - 2 - start), written_(written), writing_(writing), jobStart_(jobStart) {}
    // Decrypts the data, decoding alongside, and reads the check values. False when cancelled.
    bool Decrypt();
    bool ChecksAgree(const StoredHead& head) const {
        return x1_ == head.check1 && x2_ == head.check2;
    }
    // Once the check values agree: passes the yield points of decoding and of the checksum and
    // returns 0, 5 (the checksum differs) or 21 (cancelled). Raises a decoding or write failure.
    std::int16_t FinishDecoding();
    void Commit(unsigned mode, bool replaceExisting);

  private:
    void DecryptPass();
    void DecodePass();
    // False once the decoder has finished or failed.
    bool RunDecoder(huffman::StreamDecoder& decoder, const ChunkBuffer& output);
    void Flush(const huffman::StreamDecoder& decoder, const ChunkBuffer& output);
    void Write(const std::uint8_t* data, std::size_t count);
    void OpenOutput();

    ChunkReader& reader_;
    ChunkBuffer first_;
    const std::size_t size_, start_, dataEnd_, dataSize_;
    const std::string& written_;
    const bool writing_;
    const std::time_t jobStart_;
    Cipher& cipher_ = TheCipher();
    std::optional<AtomicFile> out_;
    std::atomic<std::uint64_t> decryptedBytes_{0};
    std::atomic<bool> checksRead_{false};
    std::uint8_t x1_ = 0, x2_ = 0;
    DecodeResult result_;
    ChunkQueue free_, decrypted_;
    Workers workers_; // last: stops before everything it uses goes
};

bool RestorePipeline::Decrypt() {
    LastProgress = 0;
    workers_.Watch(free_);
    workers_.Watch(decrypted_);
    for (int c = 1; c < kChunksInFlight; ++c)
        free_.Push(ChunkBuffer(kChunkSize));
    workers_.Start([this] { DecryptPass(); });
    workers_.Start([this] { DecodePass(); });

    const double last = dataSize_ > 1 ? static_cast<double>(dataSize_ - 1) : 0.0;
    YieldReplay decryptionStage(5000, [&](double i) { return last > 0 ? i / last * 50 : 0.0; });
    if (!FollowStage(workers_, decryptedBytes_, dataSize_, decryptionStage)) return false;
    WaitFor(workers_, checksRead_);
    return true;
}

void RestorePipeline::DecryptPass() {
    ChunkBuffer chunk = std::move(first_);
    std::size_t offset = 0; // file offset of chunk.Data()[0]
    for (;;) {
        const std::size_t from = offset < start_ ? start_ - offset : 0;
        for (std::size_t at = from; at < chunk.size; at += kCipherStep) {
            const std::size_t count = std::min(kCipherStep, chunk.size - at);
            cipher_.DecryptBlock(chunk.Data() + at, count);
            const std::size_t reached = std::min(offset + at + count, dataEnd_);
            if (reached > start_) {
                decryptedBytes_.store(reached - start_, std::memory_order_release);
                workers_.Notify();
            }
            if (workers_.Aborted()) return;
        }
        const std::size_t chunkEnd = offset + chunk.size;
        if (offset <= dataEnd_ && dataEnd_ < chunkEnd) x1_ = chunk.Data()[dataEnd_ - offset];
        if (offset <= dataEnd_ + 1 && dataEnd_ + 1 < chunkEnd)
            x2_ = chunk.Data()[dataEnd_ + 1 - offset];
        chunk.begin = from;
        const std::size_t payloadEnd = std::min(chunkEnd, dataEnd_);
        chunk.size = payloadEnd > offset + from ? payloadEnd - offset - from : 0;
        if (!(chunk.size > 0 ? decrypted_.Push(std::move(chunk)) : free_.Push(std::move(chunk))))
            return;
        offset = chunkEnd;
        if (offset == size_) break;
        if (!free_.Pop(chunk)) return;
        chunk.begin = 0;
        chunk.size = std::min(kChunkSize, size_ - offset);
        reader_.Read(chunk.Data(), chunk.size);
    }
    decrypted_.Close();
    checksRead_.store(true, std::memory_order_release);
}

void RestorePipeline::DecodePass() {
    huffman::StreamDecoder decoder(dataSize_);
    ChunkBuffer output(kChunkSize);
    // A stream too short to be identified fails before any input.
    bool running = RunDecoder(decoder, output);
    ChunkBuffer chunk;
    while (decrypted_.Pop(chunk)) {
        if (running) {
            decoder.SetInput(chunk.Begin(), chunk.size, true);
            running = RunDecoder(decoder, output);
        }
        chunk.begin = chunk.size = 0;
        if (!free_.Push(std::move(chunk))) return;
    }
    if (workers_.Aborted()) return;
    if (!result_.decodeFailure) {
        Flush(decoder, output);
        result_.stored = decoder.Stored();
        result_.storedChecksum = decoder.StoredChecksum();
        result_.wanted = decoder.Wanted();
        result_.produced = decoder.Produced();
    }
    result_.ended.store(true, std::memory_order_release);
}

bool RestorePipeline::RunDecoder(huffman::StreamDecoder& decoder, const ChunkBuffer& output) {
    using Step = huffman::StreamDecoder::Step;
    try {
        for (;;) {
            const Step step = decoder.Run();
            if (step == Step::NeedInput) return true;
            if (step == Step::Finished) return false;
            if (step == Step::OutputFull) {
                Flush(decoder, output);
                decoder.SetOutput(output.Data(), output.Capacity());
            } else {
                if (result_.yields.load(std::memory_order_relaxed) == 0)
                    result_.firstYield.store(decoder.YieldPosition(), std::memory_order_relaxed);
                result_.yields.fetch_add(1, std::memory_order_release);
                workers_.Notify();
            }
        }
    } catch (...) {
        result_.decodeFailure = std::current_exception();
        return false;
    }
}

void RestorePipeline::Flush(const huffman::StreamDecoder& decoder, const ChunkBuffer& output) {
    const std::size_t used = decoder.OutputUsed();
    if (used == 0) return;
    result_.checksum ^= huffman::XorOf(output.Data(), used);
    Write(output.Data(), used);
}

void RestorePipeline::Write(const std::uint8_t* data, std::size_t count) {
    if (count == 0 || !writing_ || result_.writeFailure) return;
    try {
        if (!out_) OpenOutput();
        out_->Write(data, count);
    } catch (...) {
        result_.writeFailure = std::current_exception();
    }
}

void RestorePipeline::OpenOutput() {
    RemoveStaleTempFiles(FolderOf(written_), jobStart_);
    out_.emplace(written_);
}

std::int16_t RestorePipeline::FinishDecoding() {
    const double streamSize = static_cast<double>(dataSize_);
    YieldReplay decodingStage(1, [&](double k) {
        const auto first = static_cast<double>(result_.firstYield.load(std::memory_order_relaxed));
        return (first + k * huffman::StreamDecoder::kYieldInterval) / streamSize * 50 + 45;
    });
    for (;;) {
        const std::uint64_t passed = result_.yields.load(std::memory_order_acquire);
        if (!decodingStage.Upto(passed)) return kStatusRestoreCancelled;
        if (result_.ended.load(std::memory_order_acquire) &&
            passed == result_.yields.load(std::memory_order_acquire)) {
            break;
        }
        workers_.WaitUntil([&] {
            return result_.ended.load(std::memory_order_acquire) ||
                   result_.yields.load(std::memory_order_acquire) != passed;
        });
        if (workers_.Failed()) {
            workers_.Join();
            workers_.RethrowFailure();
        }
    }
    workers_.Join();
    workers_.RethrowFailure();
    if (result_.decodeFailure) std::rethrow_exception(result_.decodeFailure);

    const double count = static_cast<double>(result_.produced);
    YieldReplay checksumStage(10000, [&](double i) { return i / count * 50 + 5 + 45; });
    if (!result_.stored && !checksumStage.Upto(result_.produced)) return kStatusRestoreCancelled;
    if (CancelRequested) return kStatusRestoreCancelled;
    if (!result_.stored &&
        (result_.checksum != result_.storedChecksum || result_.produced != result_.wanted)) {
        return kStatusChecksum;
    }
    if (result_.writeFailure) std::rethrow_exception(result_.writeFailure);
    return kStatusOk;
}

void RestorePipeline::Commit(unsigned mode, bool replaceExisting) {
    if (!out_) OpenOutput();
    out_->Commit(mode, replaceExisting);
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
    CheckSourceSize(file.reader->Size(), path);
    file.size = static_cast<std::size_t>(file.reader->Size());
    file.first = ChunkBuffer(kChunkSize);
    file.first.size = std::min(kChunkSize, file.size);
    file.reader->Read(file.first.Data(), file.first.size);
}

std::string RestoreFileImpl(const Job& job) {
    JobKeys keys;
    CheckSourceSize(FileLength(job.source), job.source);
    OpenedFile file;
    OpenProtected(job.source, file);
    Cipher& cipher = TheCipher();
    cipher.Init(job.password, job.privateCode);
    StoredHead head;
    if (!ReadStoredHead(cipher, file.first.Data(), file.size, head))
        return StoppedAs(kStatusWrongPassword, job.source);
    const std::string written = ResultPath(job, head);

    RestorePipeline pipeline(*file.reader, std::move(file.first), file.size, head.dataStart,
                             written, !head.failure, job.start);
    if (!pipeline.Decrypt()) return StoppedAs(kStatusRestoreCancelled, job.source);
    if (!pipeline.ChecksAgree(head)) return StoppedAs(kStatusWrongPassword, job.source);
    // Whatever else is wrong with the file counts only once the check values agree.
    if (head.failure) std::rethrow_exception(head.failure);
    const std::int16_t status = pipeline.FinishDecoding();
    if (status != kStatusOk) return StoppedAs(status, job.source);
    {
        BusyPointer busy;
        ExpectUnchanged(job.source, file.stamp);
        pipeline.Commit(FilePermissions(job.source), MayReplace(job, written));
    }
    ReplaceSourceIfChosen(job, written, file.stamp);
    return written;
}

// Runs a protect or restore, turning every run-time failure into the given status.
template <typename Procedure>
std::string Guarded(std::int16_t failureStatus, const std::string& sourcePath,
                    Procedure procedure) {
    CancelRequested = false;
    try {
        return procedure();
    } catch (const OutputExistsError& e) {
        ExistingOutputPath = e.Path();
        ErrorDescription = e.what();
    } catch (const EngineError& e) {
        ErrorDescription = e.what();
    } catch (const std::bad_alloc&) {
        ErrorDescription = "not enough memory";
    } catch (const std::exception& e) {
        ErrorDescription = e.what();
    }
    JobStatus = failureStatus;
    return sourcePath;
}

} // namespace

std::string ProtectFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite) {
    const Job job{sourcePath, outputPath, password, privateCode, overwrite, std::time(nullptr)};
    return Guarded(kStatusProtectFailed, sourcePath, [&] { return ProtectFileImpl(job); });
}

std::string RestoreFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite) {
    const Job job{sourcePath, outputPath, password, privateCode, overwrite, std::time(nullptr)};
    return Guarded(kStatusRestoreFailed, sourcePath, [&] { return RestoreFileImpl(job); });
}

std::string MakeRandomHeader() {
    unsigned n = RandomBelow(224) + 32;
    for (char c : EntropyPool)
        n ^= static_cast<unsigned char>(c);
    while (n > 255)
        n -= 224;
    if (n < 32) n += 224;

    std::string r(n - 1, '\0');
    RandomBytes(reinterpret_cast<std::uint8_t*>(r.data()), r.size());

    Cipher& cipher = TheCipher();
    std::size_t p = 0; // pool position, running on across rounds
    for (int round = 1; round <= 16; ++round) {
        char key[16];
        for (char& byte : key) {
            std::uint8_t b = RandomByte();
            if (!EntropyPool.empty()) {
                b ^= static_cast<std::uint8_t>(EntropyPool[p]);
                if (++p >= EntropyPool.size()) p = 0;
            }
            byte = static_cast<char>(b);
        }
        cipher.Init(std::string_view(key, sizeof key), {});
        SecureWipe(key, sizeof key);
        auto* bytes = reinterpret_cast<std::uint8_t*>(r.data());
        if (round % 3 == 0)
            cipher.DecryptBlock(bytes, r.size());
        else
            cipher.EncryptBlock(bytes, r.size());
    }
    r.insert(r.begin(), static_cast<char>(n));
    return r;
}

void AddMouseEntropy(float x, float y) {
    if (x == LastMousePosition.x && y == LastMousePosition.y) return;
    LastMousePosition = {x, y};
    auto toInt = [](float v) -> std::int32_t {
        const double rounded = std::nearbyint(static_cast<double>(v));
        if (!(rounded >= std::numeric_limits<std::int32_t>::min()))
            return std::numeric_limits<std::int32_t>::min();
        if (rounded > std::numeric_limits<std::int32_t>::max())
            return std::numeric_limits<std::int32_t>::max();
        return static_cast<std::int32_t>(rounded);
    };
    const std::int32_t c = (toInt(x) ^ toInt(y)) & 255;
    EntropyPool.push_back(static_cast<char>(c));
    if (EntropyPool.size() > kEntropyPoolSize) EntropyPool.erase(0, 1);
}

} // namespace vw
