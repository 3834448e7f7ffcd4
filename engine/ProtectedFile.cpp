#include "engine/ProtectedFile.h"

#include <sys/random.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <ctime>
#include <limits>

#include "engine/Cipher.h"
#include "engine/Cp1252.h"
#include "engine/FileIO.h"
#include "engine/Host.h"
#include "engine/Huffman.h"
#include "engine/JobState.h"
#include "engine/Paths.h"

namespace vw {

std::string EntropyPool;
MousePosition LastMousePosition;

namespace {

constexpr std::size_t kEntropyPoolSize = 251;
constexpr std::size_t kYieldInterval = 5000;
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

// Runs data[0, size) through the cipher with the yield and progress rule (interval 5000),
// percentage(i) giving the stage's percentage. Returns false when the job was cancelled.
template <typename Step, typename Percentage>
bool CipherLoop(std::size_t size, Step step, Percentage percentage) {
    std::size_t i = 0;
    while (i < size) {
        // Elements i .. next-1, then the yield point after element next-1.
        const std::size_t yieldAt = i == 0 ? 0 : ((i - 1) / kYieldInterval + 1) * kYieldInterval;
        const std::size_t end = std::min(size, yieldAt + 1);
        step(i, end - i);
        i = end;
        if (end - 1 == yieldAt && !YieldPoint(percentage(static_cast<double>(yieldAt))))
            return false;
    }
    return true;
}

void CheckSourceSize(std::int64_t length, const std::string& path) {
    if (length > kMaxSourceLength)
        throw EngineError("the file \"" + path +
                          "\" is too large for the format (2 GiB or more)");
}

struct JobKeys {
    // Wipes the cipher state when the job ends, however it ends.
    ~JobKeys() { TheCipher().Wipe(); }
};

std::string ProtectFileImpl(const std::string& sourcePath, const std::string& outputPath,
                            const std::string& password, const std::string& privateCode) {
    const std::time_t jobStart = std::time(nullptr);
    JobKeys keys;
    CheckSourceSize(FileLength(sourcePath), sourcePath);
    Bytes data;
    {
        BusyPointer busy;
        CurrentHost().ProcessEvents();
        data = ReadWholeFile(sourcePath);
    }
    CheckSourceSize(static_cast<std::int64_t>(data.size()), sourcePath);

    LastProgress = 0;
    HuffmanEncode(data, static_cast<std::int32_t>(data.size()));
    if (CancelRequested) {
        JobStatus = kStatusProtectCancelled;
        return sourcePath;
    }

    std::string header = MakeRandomHeader();
    const auto check1 = static_cast<std::uint8_t>(header[header.size() - 2]);
    const auto check2 = static_cast<std::uint8_t>(header[header.size() - 1]);
    header += Utf8ToCp1252(ExtensionOf(sourcePath));
    header.push_back('\0');

    Cipher& cipher = TheCipher();
    cipher.Init(password, privateCode);
    cipher.EncryptBlock(reinterpret_cast<std::uint8_t*>(header.data()), header.size());

    const double last = static_cast<double>(data.size() - 1);
    const bool finished = CipherLoop(
        data.size(), [&](std::size_t from, std::size_t count) { cipher.EncryptBlock(data.data() + from, count); },
        [&](double i) { return i / last * 44 + 3 + 3 + 50; });
    if (!finished) {
        JobStatus = kStatusProtectCancelled;
        return sourcePath;
    }
    std::uint8_t checks[2] = {cipher.EncryptByte(check1), cipher.EncryptByte(check2)};

    const std::string written = WithoutExtension(outputPath) + ".vwx";
    {
        BusyPointer busy;
        RemoveStaleTempFiles(FolderOf(written), jobStart);
        AtomicFile out(written);
        out.Write(reinterpret_cast<const std::uint8_t*>(header.data()), header.size());
        out.Write(data.data(), data.size());
        out.Write(checks, sizeof checks);
        out.Commit(FilePermissions(sourcePath));
    }
    SecureWipe(header);
    if (outputPath == sourcePath && written != sourcePath && FileExists(sourcePath)) {
        if (::unlink(sourcePath.c_str()) != 0)
            throw EngineError("the protected file was written, but the original \"" + sourcePath +
                              "\" could not be deleted: " + std::strerror(errno));
    }
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

std::string RestoreFileImpl(const std::string& sourcePath, const std::string& outputPath,
                            const std::string& password, const std::string& privateCode) {
    const std::time_t jobStart = std::time(nullptr);
    JobKeys keys;
    CheckSourceSize(FileLength(sourcePath), sourcePath);
    Bytes a;
    {
        BusyPointer busy;
        a = ReadWholeFile(sourcePath);
    }
    const std::int64_t n64 = static_cast<std::int64_t>(a.size());
    if (n64 < 1) throw EngineError("the file \"" + sourcePath + "\" is empty");
    CheckSourceSize(n64, sourcePath);
    const std::size_t size = a.size();

    Cipher& cipher = TheCipher();
    cipher.Init(password, privateCode);
    const std::size_t headerLength = cipher.DecryptByte(a[0]);
    if (headerLength > size - 1) {
        JobStatus = kStatusWrongPassword;
        return sourcePath;
    }
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
        const std::uint8_t b = cipher.DecryptByte(a[headerLength + k]);
        ++k;
        if (b == 0) break;
        extension.push_back(static_cast<char>(b));
    }
    const std::size_t start = headerLength + k;
    if (static_cast<std::int64_t>(start) > kMaxDataStart)
        throw EngineError("the header and the stored extension are longer than the format allows");
    if (size - start < 2) {
        // No room for the two check values after the extension.
        JobStatus = kStatusWrongPassword;
        return sourcePath;
    }
    const std::size_t dataSize = size - start - 2;

    LastProgress = 0;
    const double last = dataSize > 1 ? static_cast<double>(dataSize - 1) : 0.0;
    const bool finished = CipherLoop(
        dataSize,
        [&](std::size_t from, std::size_t count) {
            // The data moves down to the start of the buffer as it is decrypted.
            std::memmove(a.data() + from, a.data() + start + from, count);
            cipher.DecryptBlock(a.data() + from, count);
        },
        [&](double i) { return last > 0 ? i / last * 50 : 0.0; });
    if (!finished) {
        JobStatus = kStatusRestoreCancelled;
        return sourcePath;
    }
    const std::uint8_t x1 = cipher.DecryptByte(a[size - 2]);
    const std::uint8_t x2 = cipher.DecryptByte(a[size - 1]);
    if (h1 != x1 || h2 != x2) {
        JobStatus = kStatusWrongPassword;
        return sourcePath;
    }

    a.resize(dataSize);
    HuffmanDecode(a, static_cast<std::int32_t>(dataSize));
    if (CancelRequested) {
        JobStatus = kStatusRestoreCancelled;
        return sourcePath;
    }
    if (JobStatus != kStatusOk) return sourcePath;

    const std::string written = WithoutExtension(outputPath) + SafeExtension(extension);
    {
        BusyPointer busy;
        RemoveStaleTempFiles(FolderOf(written), jobStart);
        AtomicFile out(written);
        out.Write(a.data(), a.size());
        out.Commit(FilePermissions(sourcePath));
    }
    if (outputPath == sourcePath && written != sourcePath && FileExists(sourcePath)) {
        if (::unlink(sourcePath.c_str()) != 0)
            throw EngineError("the file was restored, but the protected file \"" + sourcePath +
                              "\" could not be deleted: " + std::strerror(errno));
    }
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
                        const std::string& password, const std::string& privateCode) {
    return Guarded(kStatusProtectFailed, sourcePath,
                   [&] { return ProtectFileImpl(sourcePath, outputPath, password, privateCode); });
}

std::string RestoreFile(const std::string& sourcePath, const std::string& outputPath,
                        const std::string& password, const std::string& privateCode) {
    return Guarded(kStatusRestoreFailed, sourcePath,
                   [&] { return RestoreFileImpl(sourcePath, outputPath, password, privateCode); });
}

std::string MakeRandomHeader() {
    unsigned n = RandomBelow(224) + 32;
    for (char c : EntropyPool) n ^= static_cast<unsigned char>(c);
    while (n > 255) n -= 224;
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
        if (!(rounded >= std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
        if (rounded > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
        return static_cast<std::int32_t>(rounded);
    };
    const std::int32_t c = (toInt(x) ^ toInt(y)) & 255;
    EntropyPool.push_back(static_cast<char>(c));
    if (EntropyPool.size() > kEntropyPoolSize) EntropyPool.erase(0, 1);
}

} // namespace vw
