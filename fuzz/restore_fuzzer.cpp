// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Restores arbitrary protected files in memory, through the code of the file job. The first
// byte of an input chooses: bit 0, whether the rest is encrypted first (so that it passes the
// password check and the mutations reach the stream); bit 1, whether the restore only tests the
// file (no sink, no writer thread). The rest is the file.
//
// Every outcome is checked against what the plain file says, read here on its own: the header
// length and check values, the stored extension, and the stream, decoded whole by the
// buffer-level codec. A restore must end exactly as they tell (the same status, the same
// failure), give exactly the bytes the codec gives, and never pass more bytes to its sink than
// the stream states. That a failed file job writes nothing is checked by the engine tests
// (RestoreCorpusTest), over this harness's corpus.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "engine/cipher/Cipher.h"
#include "engine/codec/Huffman.h"
#include "engine/format/VwxFormat.h"
#include "engine/job/Job.h"
#include "engine/job/MemoryJobs.h"
#include "engine/job/RestoreSink.h"

namespace {

constexpr const char* kPassword = "fuzzing password";
constexpr const char* kPrivateCode = "pcm";

[[noreturn]] void Fail() {
    __builtin_trap();
}

void Expect(bool holds) {
    if (!holds) Fail();
}

// Keeps what the restore passes on, and checks that the restored length comes first and that
// no more bytes than it follow.
class CheckingSink : public vw::RestoreSink {
  public:
    void Expect(std::size_t length) override {
        ::Expect(!expected_);
        expected_ = length;
    }
    void Write(const std::uint8_t* data, std::size_t count) override {
        ::Expect(expected_ && count > 0 && bytes_.size() + count <= *expected_);
        bytes_.insert(bytes_.end(), data, data + count);
    }
    const vw::Bytes& Bytes() const { return bytes_; }
    std::optional<std::size_t> Expected() const { return expected_; }

  private:
    vw::Bytes bytes_;
    std::optional<std::size_t> expected_;
};

// How a restore of a file must end, read from its plain bytes.
struct Expected {
    std::int16_t status = vw::kStatusOk;
    std::optional<vw::Failure> failure; // with status 22
    std::string extension;
    vw::Bytes restored; // with status 0
};

// The outcome the format gives the plain file p. Its first byte is the header length n; the
// header's last two bytes are the check values (those before the first byte read as 0), the
// extension follows up to the terminator, the stream up to the check values at the end.
Expected Outcome(const vw::Bytes& p) {
    Expected e;
    const std::size_t size = p.size(), n = p[0];
    if (n + vw::vwx::kTerminator + 1 + vw::vwx::kCheckValues > size) {
        e.status = vw::kStatusWrongPassword;
        return e;
    }
    const std::size_t trailer = size - vw::vwx::kCheckValues;
    std::size_t at = n;
    while (at < std::min(trailer, vw::vwx::kMaxDataStart) && p[at] != vw::vwx::kTerminator)
        e.extension.push_back(static_cast<char>(p[at++]));
    for (std::size_t k = 0; k < vw::vwx::kCheckValues; ++k) {
        const std::size_t check = n + k - vw::vwx::kCheckValues; // wraps below 0 when n < 2
        if (p[trailer + k] != (check >= 1 && check < n ? p[check] : 0)) {
            e.status = vw::kStatusWrongPassword;
            return e;
        }
    }
    e.status = vw::kStatusRestoreFailed;
    if (at == trailer) {
        e.failure = vw::Failure{vw::Fault::StoredExtensionUnended};
        return e;
    }
    if (at == vw::vwx::kMaxDataStart) {
        e.failure = vw::Failure{vw::Fault::HeadTooLong};
        return e;
    }
    // An extension that could name another folder or holds a control character is refused;
    // the engine tests check how it is shown.
    const bool control = std::any_of(e.extension.begin(), e.extension.end(), [](char c) {
        return vw::vwx::IsControlByte(static_cast<unsigned char>(c));
    });
    if (control || e.extension == "." || e.extension == ".." ||
        e.extension.find('/') != std::string::npos) {
        e.failure = vw::Failure{vw::Fault::StoredExtensionInvalid};
        return e;
    }
    vw::Bytes stream(p.begin() + static_cast<std::ptrdiff_t>(at + 1),
                     p.begin() + static_cast<std::ptrdiff_t>(trailer));
    try {
        const bool intact = vw::HuffmanDecode(stream, static_cast<std::int32_t>(stream.size()));
        e.status = intact ? vw::kStatusOk : vw::kStatusChecksum;
        e.restored = std::move(stream);
    } catch (const vw::EngineError& error) {
        e.failure = error.failure();
    }
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    vw::Bytes file(data + 1, data + size);
    vw::Bytes plain = file;
    // The keyed cipher is copied: keying it takes longer than a small restore.
    static const vw::Cipher keyed = [] {
        vw::Cipher cipher;
        cipher.Init(kPassword, kPrivateCode);
        return cipher;
    }();
    vw::Cipher cipher = keyed;
    if (data[0] & 1)
        cipher.EncryptBlock(file.data(), file.size());
    else
        cipher.DecryptBlock(plain.data(), plain.size());
    const bool tested = data[0] & 2;
    static const vw::JobRequest keys = [] {
        vw::JobRequest request;
        request.password = vw::KeyText(kPassword);
        request.privateCode = vw::KeyText(kPrivateCode);
        return request;
    }();
    CheckingSink sink;
    vw::JobControl control;
    const vw::JobResult result = vw::RestoreBytes(file, keys, tested ? nullptr : &sink, control);

    // An extension shown in a failure reaches terminals: no raw control characters.
    for (const char c : result.failure.shown)
        Expect(static_cast<unsigned char>(c) >= 32 && c != 127);
    Expect(result.written.empty());
    if (file.empty()) {
        Expect(result.status == vw::kStatusEmptyFile);
        return 0;
    }
    // A header length of 0 has the length byte read again as the extension's first byte, which
    // shifts the stream by one byte against the file: its outcome is the cipher's to decide.
    if (plain[0] == 0) {
        Expect(result.status == vw::kStatusOk || result.status == vw::kStatusChecksum ||
               result.status == vw::kStatusRestoreFailed ||
               result.status == vw::kStatusWrongPassword);
        return 0;
    }
    const Expected expected = Outcome(plain);
    Expect(result.status == expected.status);
    if (expected.failure && expected.failure->fault == vw::Fault::StoredExtensionInvalid)
        Expect(result.failure.fault == vw::Fault::StoredExtensionInvalid);
    else if (expected.failure)
        Expect(result.failure == *expected.failure);
    if (result.status == vw::kStatusOk) {
        Expect(result.extension == expected.extension);
        Expect(tested ? sink.Bytes().empty() : sink.Bytes() == expected.restored);
        // A stream with nothing to restore ends before any length is told.
        Expect(tested || sink.Expected().value_or(0) == expected.restored.size());
    }
    return 0;
}
