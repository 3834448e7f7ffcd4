#include "engine/ProtectedFile.h"

#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
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
#include "engine/HuffmanStages.h"
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
constexpr std::int64_t kMaxDataStart = 32766;

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
    if (length > kMaxSourceLength)
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

// The second pass over the source: codes it into chunks of the compressed stream. The plan
// was made from the first pass's counts, which the source must still give.
void CodePass(ChunkReader& source, const huffman::EncoderPlan& plan,
              const huffman::ByteCounter& counted, std::uint8_t checksum, ChunkQueue& free,
              ChunkQueue& coded, Workers& workers, std::atomic<std::uint64_t>& progress,
              const std::string& path) {
    const std::size_t n = plan.InputSize();
    ChunkBuffer out;
    if (!free.Pop(out)) return;
    const Bytes head = plan.Head(checksum);
    std::memcpy(out.Data(), head.data(), head.size());
    if (plan.Stored()) {
        // The source unchanged after the four identification bytes, read straight in.
        std::size_t used = head.size();
        for (std::size_t offset = 0; offset < n;) {
            if (used == out.Capacity()) {
                out.size = used;
                if (!coded.Push(std::move(out)) || !free.Pop(out)) return;
                used = 0;
            }
            const std::size_t take = std::min(out.Capacity() - used, n - offset);
            source.Read(out.Data() + used, take);
            used += take;
            offset += take;
            if (workers.Aborted()) return;
        }
        out.size = used;
        if (coded.Push(std::move(out))) coded.Close();
        return;
    }

    std::size_t block = std::size_t{64} << 10;
    while (block > 1 && plan.MaxOutputFor(block) > kCodedRoom)
        block /= 2;
    ChunkBuffer input(kChunkSize);
    huffman::ByteCounter recounted;
    std::uint8_t xorAgain = 0;
    std::size_t emitted = 0;
    huffman::BitWriter writer(out.Data() + head.size());
    for (std::size_t offset = 0; offset < n;) {
        const std::size_t size = std::min(kChunkSize, n - offset);
        source.Read(input.Data(), size);
        recounted.Add(input.Data(), size);
        xorAgain ^= huffman::XorOf(input.Data(), size);
        for (std::size_t from = 0; from < size;) {
            const std::size_t count = std::min(block, size - from);
            const auto used = static_cast<std::size_t>(writer.Position() - out.Data());
            if (used + plan.MaxOutputFor(count) > out.Capacity()) {
                ChunkBuffer next;
                if (!free.Pop(next)) return;
                writer.MoveTo(next.Data());
                out.size = used;
                emitted += used;
                if (!coded.Push(std::move(out))) return;
                out = std::move(next);
            }
            plan.Code(writer, input.Data() + from, count);
            from += count;
        }
        offset += size;
        progress.store(offset, std::memory_order_release);
        workers.Notify();
        if (workers.Aborted()) return;
    }
    out.size = static_cast<std::size_t>(writer.End() - out.Data());
    emitted += out.size;
    if (!recounted.SameCounts(counted) || xorAgain != checksum || emitted != plan.StreamSize())
        throw EngineError("the file \"" + path + "\" changed while it was read");
    if (coded.Push(std::move(out))) coded.Close();
}

// When the output path chosen was the source itself, the new file replaces the source: the
// source is deleted, but only once the new file is complete under its own name.
void ReplaceSourceIfChosen(const std::string& sourcePath, const std::string& outputPath,
                           const std::string& written) {
    if (outputPath != sourcePath || written == sourcePath || !FileExists(sourcePath)) return;
    if (::unlink(sourcePath.c_str()) != 0)
        throw EngineError("\"" + written + "\" was written, but \"" + sourcePath +
                          "\" could not be deleted: " + std::strerror(errno));
}

std::string ProtectFileImpl(const std::string& sourcePath, const std::string& outputPath,
                            const std::string& password, const std::string& privateCode) {
    const std::time_t jobStart = std::time(nullptr);
    JobKeys keys;
    CheckSourceSize(FileLength(sourcePath), sourcePath);
    std::optional<ChunkReader> reader;
    {
        BusyPointer busy;
        CurrentHost().ProcessEvents();
        reader.emplace(sourcePath);
    }
    CheckSourceSize(reader->Size(), sourcePath);
    const auto n = static_cast<std::size_t>(reader->Size());
    const double total = static_cast<double>(n);

    // First pass: the byte counts and the checksum, with the yield points of counting.
    LastProgress = 0;
    huffman::ByteCounter counter;
    std::uint8_t checksum = 0;
    {
        ChunkBuffer chunk(kChunkSize);
        for (std::size_t offset = 0; offset < n;) {
            const std::size_t size = std::min(kChunkSize, n - offset);
            reader->Read(chunk.Data(), size);
            if (!huffman::RunWithYieldsOver(
                    offset, offset + size, 1000,
                    [&](std::size_t from, std::size_t to) {
                        const std::uint8_t* block = chunk.Data() + (from - offset);
                        counter.Add(block, to - from);
                        checksum ^= huffman::XorOf(block, to - from);
                    },
                    [&](std::size_t i) { return static_cast<double>(i) / total * 3; })) {
                return StoppedAs(kStatusProtectCancelled, sourcePath);
            }
            offset += size;
        }
    }
    reader.reset();
    const huffman::EncoderPlan plan(counter, n);
    if (!plan.Stored()) {
        // The checksum was taken along with the counts; its yield points follow them.
        YieldReplay checksumStage(10000, [&](double i) { return i / total * 3 + 3; });
        if (!checksumStage.Upto(n)) return StoppedAs(kStatusProtectCancelled, sourcePath);
    } else if (CancelRequested) {
        return StoppedAs(kStatusProtectCancelled, sourcePath);
    }

    std::string header =
        hooks::ProtectHeaderSource ? hooks::ProtectHeaderSource() : MakeRandomHeader();
    const auto check1 = static_cast<std::uint8_t>(header[header.size() - 2]);
    const auto check2 = static_cast<std::uint8_t>(header[header.size() - 1]);
    header += Utf8ToCp1252(ExtensionOf(sourcePath));
    header.push_back('\0');

    Cipher& cipher = TheCipher();
    cipher.Init(password, privateCode);
    cipher.EncryptBlock(reinterpret_cast<std::uint8_t*>(header.data()), header.size());

    const std::string written = WithoutExtension(outputPath) + ".vwx";
    RemoveStaleTempFiles(FolderOf(written), jobStart);
    AtomicFile out(written);
    out.Write(reinterpret_cast<const std::uint8_t*>(header.data()), header.size());
    SecureWipe(header);

    // Second pass: one thread codes, the other encrypts and writes.
    ChunkReader source(sourcePath);
    const std::uint64_t m = plan.StreamSize();
    std::atomic<std::uint64_t> codedBytes{0};
    std::atomic<std::uint64_t> encryptedBytes{0};
    std::atomic<bool> sealed{false};
    ChunkQueue free, coded;
    Workers workers;
    workers.Watch(free);
    workers.Watch(coded);
    for (int k = 0; k < kChunksInFlight; ++k)
        free.Push(ChunkBuffer(kChunkSize + kCodedRoom));
    workers.Start([&] {
        CodePass(source, plan, counter, checksum, free, coded, workers, codedBytes, sourcePath);
    });
    workers.Start([&] {
        ChunkBuffer chunk;
        std::uint64_t done = 0;
        while (coded.Pop(chunk)) {
            for (std::size_t from = 0; from < chunk.size; from += kCipherStep) {
                const std::size_t count = std::min(kCipherStep, chunk.size - from);
                cipher.EncryptBlock(chunk.Data() + from, count);
                done += count;
                encryptedBytes.store(done, std::memory_order_release);
                workers.Notify();
                if (workers.Aborted()) return;
            }
            out.Write(chunk.Data(), chunk.size);
            chunk.size = 0;
            if (!free.Push(std::move(chunk))) return;
        }
        if (workers.Aborted()) return;
        if (done != m) throw std::logic_error("compressed stream size differs from its plan");
        const std::uint8_t checks[2] = {cipher.EncryptByte(check1), cipher.EncryptByte(check2)};
        out.Write(checks, sizeof checks);
        sealed.store(true, std::memory_order_release);
    });

    if (!plan.Stored()) {
        YieldReplay codingStage(10000, [&](double i) { return i / total * 44 + 3 + 3; });
        if (!FollowStage(workers, codedBytes, n, codingStage))
            return StoppedAs(kStatusProtectCancelled, sourcePath);
        if (CancelRequested) return StoppedAs(kStatusProtectCancelled, sourcePath);
    }
    const double last = static_cast<double>(m - 1);
    YieldReplay encryptionStage(5000, [&](double i) { return i / last * 44 + 3 + 3 + 50; });
    if (!FollowStage(workers, encryptedBytes, m, encryptionStage))
        return StoppedAs(kStatusProtectCancelled, sourcePath);
    WaitFor(workers, sealed);
    workers.Join();
    workers.RethrowFailure();

    {
        BusyPointer busy;
        out.Commit(FilePermissions(sourcePath));
    }
    ReplaceSourceIfChosen(sourcePath, outputPath, written);
    return written;
}

// The stored extension as it will become part of a file name; refuses one that could name
// another folder.
std::string SafeExtension(const std::string& storedBytes) {
    if (storedBytes.empty()) return {};
    if (storedBytes == "." || storedBytes == ".." || storedBytes.find('/') != std::string::npos)
        throw EngineError("the stored extension \"" + Cp1252ToUtf8(storedBytes) +
                          "\" is not a valid file name extension");
    std::string extension(1, '.');
    extension += Cp1252ToUtf8(storedBytes);
    return extension;
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

std::string RestoreFileImpl(const std::string& sourcePath, const std::string& outputPath,
                            const std::string& password, const std::string& privateCode) {
    const std::time_t jobStart = std::time(nullptr);
    JobKeys keys;
    CheckSourceSize(FileLength(sourcePath), sourcePath);
    std::optional<ChunkReader> reader;
    ChunkBuffer first;
    {
        BusyPointer busy;
        reader.emplace(sourcePath);
        if (reader->Size() < 1) throw EngineError("the file \"" + sourcePath + "\" is empty");
        CheckSourceSize(reader->Size(), sourcePath);
        first = ChunkBuffer(kChunkSize);
        first.size = std::min<std::size_t>(kChunkSize, static_cast<std::size_t>(reader->Size()));
        reader->Read(first.Data(), first.size);
    }
    const auto size = static_cast<std::size_t>(reader->Size());
    const std::uint8_t* a = first.Data();

    Cipher& cipher = TheCipher();
    cipher.Init(password, privateCode);
    const std::size_t headerLength = cipher.DecryptByte(a[0]);
    if (headerLength > size - 1) return StoppedAs(kStatusWrongPassword, sourcePath);
    std::uint8_t h1 = 0, h2 = 0;
    for (std::size_t j = 2; j <= headerLength; ++j) {
        const std::uint8_t b = cipher.DecryptByte(a[j - 1]);
        if (j == headerLength - 1) h1 = b;
        if (j == headerLength) h2 = b;
    }

    std::string extension;
    std::size_t k = 0;
    for (;;) {
        if (headerLength + k >= size)
            throw EngineError("the stored extension has no end before the end of the file "
                              "(wrong password or damaged file)");
        if (headerLength + k >= first.size) break; // far beyond what the format allows
        const std::uint8_t b = cipher.DecryptByte(a[headerLength + k]);
        ++k;
        if (b == 0) break;
        extension.push_back(static_cast<char>(b));
    }
    const std::size_t start = headerLength + k;
    if (static_cast<std::int64_t>(start) > kMaxDataStart)
        throw EngineError("the header and the stored extension are longer than the format allows");
    if (size - start < 2) return StoppedAs(kStatusWrongPassword, sourcePath);
    const std::size_t dataSize = size - start - 2;
    const std::size_t dataEnd = size - 2;

    // An extension that would lead out of the folder is refused once the check values agree;
    // until then the output has nowhere to go.
    std::string written;
    std::exception_ptr extensionFailure;
    try {
        written = WithoutExtension(outputPath) + SafeExtension(extension);
    } catch (const EngineError&) {
        extensionFailure = std::current_exception();
    }

    // One thread reads and decrypts, the other decodes and writes.
    LastProgress = 0;
    std::optional<AtomicFile> out;
    std::atomic<std::uint64_t> decryptedBytes{0};
    std::atomic<bool> checksRead{false};
    std::uint8_t x1 = 0, x2 = 0;
    DecodeResult result;
    ChunkQueue free, decrypted;
    Workers workers;
    workers.Watch(free);
    workers.Watch(decrypted);
    for (int c = 1; c < kChunksInFlight; ++c)
        free.Push(ChunkBuffer(kChunkSize));

    workers.Start([&] {
        ChunkBuffer chunk = std::move(first);
        std::size_t offset = 0; // file offset of chunk.Data()[0]
        for (;;) {
            const std::size_t from = offset < start ? start - offset : 0;
            for (std::size_t at = from; at < chunk.size; at += kCipherStep) {
                const std::size_t count = std::min(kCipherStep, chunk.size - at);
                cipher.DecryptBlock(chunk.Data() + at, count);
                const std::size_t reached = std::min(offset + at + count, dataEnd);
                if (reached > start) {
                    decryptedBytes.store(reached - start, std::memory_order_release);
                    workers.Notify();
                }
                if (workers.Aborted()) return;
            }
            const std::size_t chunkEnd = offset + chunk.size;
            if (offset <= dataEnd && dataEnd < chunkEnd) x1 = chunk.Data()[dataEnd - offset];
            if (offset <= dataEnd + 1 && dataEnd + 1 < chunkEnd)
                x2 = chunk.Data()[dataEnd + 1 - offset];
            chunk.begin = from;
            const std::size_t payloadEnd = std::min(chunkEnd, dataEnd);
            chunk.size = payloadEnd > offset + from ? payloadEnd - offset - from : 0;
            if (!(chunk.size > 0 ? decrypted.Push(std::move(chunk)) : free.Push(std::move(chunk))))
                return;
            offset = chunkEnd;
            if (offset == size) break;
            if (!free.Pop(chunk)) return;
            chunk.begin = 0;
            chunk.size = std::min(kChunkSize, size - offset);
            reader->Read(chunk.Data(), chunk.size);
        }
        decrypted.Close();
        checksRead.store(true, std::memory_order_release);
    });

    workers.Start([&] {
        using Step = huffman::StreamDecoder::Step;
        huffman::StreamDecoder decoder(dataSize);
        ChunkBuffer output(kChunkSize);
        bool running = true;
        auto write = [&](const std::uint8_t* data, std::size_t count) {
            if (count == 0 || extensionFailure || result.writeFailure) return;
            try {
                if (!out) {
                    RemoveStaleTempFiles(FolderOf(written), jobStart);
                    out.emplace(written);
                }
                out->Write(data, count);
            } catch (...) {
                result.writeFailure = std::current_exception();
            }
        };
        auto flush = [&] {
            const std::size_t used = decoder.OutputUsed();
            if (used > 0) {
                result.checksum ^= huffman::XorOf(output.Data(), used);
                write(output.Data(), used);
            }
        };
        auto run = [&] {
            try {
                for (;;) {
                    const Step step = decoder.Run();
                    if (step == Step::NeedInput) return;
                    if (step == Step::Finished) break;
                    if (step == Step::OutputFull) {
                        flush();
                        decoder.SetOutput(output.Data(), output.Capacity());
                    } else {
                        if (result.yields.load(std::memory_order_relaxed) == 0)
                            result.firstYield.store(decoder.YieldPosition(),
                                                    std::memory_order_relaxed);
                        result.yields.fetch_add(1, std::memory_order_release);
                        workers.Notify();
                    }
                }
            } catch (...) {
                result.decodeFailure = std::current_exception();
            }
            running = false;
        };
        run(); // a stream too short to be identified fails before any input
        ChunkBuffer chunk;
        while (decrypted.Pop(chunk)) {
            if (running) {
                decoder.SetInput(chunk.Begin(), chunk.size, true);
                run();
            }
            chunk.begin = chunk.size = 0;
            if (!free.Push(std::move(chunk))) return;
        }
        if (workers.Aborted()) return;
        if (!result.decodeFailure) {
            flush();
            result.stored = decoder.Stored();
            result.storedChecksum = decoder.StoredChecksum();
            result.wanted = decoder.Wanted();
            result.produced = decoder.Produced();
        }
        result.ended.store(true, std::memory_order_release);
    });

    const double last = dataSize > 1 ? static_cast<double>(dataSize - 1) : 0.0;
    YieldReplay decryptionStage(5000, [&](double i) { return last > 0 ? i / last * 50 : 0.0; });
    if (!FollowStage(workers, decryptedBytes, dataSize, decryptionStage))
        return StoppedAs(kStatusRestoreCancelled, sourcePath);
    WaitFor(workers, checksRead);
    if (h1 != x1 || h2 != x2) return StoppedAs(kStatusWrongPassword, sourcePath);

    // Decoding ran alongside; its yield points follow now that the check values agree.
    const double streamSize = static_cast<double>(dataSize);
    YieldReplay decodingStage(1, [&](double k) {
        const auto first = static_cast<double>(result.firstYield.load(std::memory_order_relaxed));
        return (first + k * 10000) / streamSize * 50 + 45;
    });
    for (;;) {
        const std::uint64_t passed = result.yields.load(std::memory_order_acquire);
        if (!decodingStage.Upto(passed)) return StoppedAs(kStatusRestoreCancelled, sourcePath);
        if (result.ended.load(std::memory_order_acquire) &&
            passed == result.yields.load(std::memory_order_acquire)) {
            break;
        }
        workers.WaitUntil([&] {
            return result.ended.load(std::memory_order_acquire) ||
                   result.yields.load(std::memory_order_acquire) != passed;
        });
        if (workers.Failed()) {
            workers.Join();
            workers.RethrowFailure();
        }
    }
    workers.Join();
    workers.RethrowFailure();
    if (result.decodeFailure) std::rethrow_exception(result.decodeFailure);

    const double count = static_cast<double>(result.produced);
    YieldReplay checksumStage(10000, [&](double i) { return i / count * 50 + 5 + 45; });
    if (!result.stored && !checksumStage.Upto(result.produced))
        return StoppedAs(kStatusRestoreCancelled, sourcePath);
    if (CancelRequested) return StoppedAs(kStatusRestoreCancelled, sourcePath);
    if (!result.stored &&
        (result.checksum != result.storedChecksum || result.produced != result.wanted)) {
        return StoppedAs(kStatusChecksum, sourcePath);
    }
    if (extensionFailure) std::rethrow_exception(extensionFailure);
    if (result.writeFailure) std::rethrow_exception(result.writeFailure);

    {
        BusyPointer busy;
        if (!out) {
            RemoveStaleTempFiles(FolderOf(written), jobStart);
            out.emplace(written);
        }
        out->Commit(FilePermissions(sourcePath));
    }
    ReplaceSourceIfChosen(sourcePath, outputPath, written);
    return written;
}

// Runs a protect or restore, turning every run-time failure into the given status.
template <typename Job>
std::string Guarded(std::int16_t failureStatus, const std::string& sourcePath, Job job) {
    CancelRequested = false;
    try {
        return job();
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
    (void)overwrite; // not yet honoured
    return Guarded(kStatusProtectFailed, sourcePath,
                   [&] { return ProtectFileImpl(sourcePath, outputPath, password, privateCode); });
}

std::string RestoreFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode,
                        Overwrite overwrite) {
    (void)overwrite; // not yet honoured
    return Guarded(kStatusRestoreFailed, sourcePath,
                   [&] { return RestoreFileImpl(sourcePath, outputPath, password, privateCode); });
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
