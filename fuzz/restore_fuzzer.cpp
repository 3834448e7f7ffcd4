// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Restores arbitrary protected files in memory, through the code of the file job. The first
// byte of an input chooses: bit 0, whether the rest is encrypted first (so that it passes the
// password check and the mutations reach the stream); bit 1, whether the restore only tests the
// file (no sink). The rest is the file.
//
// Every outcome is checked against what the plain file says, read here on its own by the
// format's rules: the header length and check values, the stored extension, and the stream,
// decoded a bit at a time down a tree of its codes, sharing nothing with the decoder. A restore
// must end exactly as they tell (the same status, the same failure), give exactly those bytes,
// and never pass more bytes to its sink than the stream states. That a failed file job writes
// nothing, and ends as the memory job does, is checked by the engine tests over this harness's
// corpus (JobTest.TheRestoreCorpusEndsAsInMemoryAndAFailedFileJobWritesNothing).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "engine/cipher/Cipher.h"
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
    // most: what the file can decode to at most (one bit a byte), room kept at once.
    explicit CheckingSink(std::size_t most) : most_(most) {}
    void Expect(std::size_t length) override {
        ::Expect(!expected_);
        expected_ = length;
        bytes_.reserve(std::min(length, most_));
    }
    void Write(const std::uint8_t* data, std::size_t count) override {
        ::Expect(expected_ && count > 0 && bytes_.size() + count <= *expected_);
        bytes_.insert(bytes_.end(), data, data + count);
    }
    const vw::Bytes& Bytes() const { return bytes_; }
    std::optional<std::size_t> Expected() const { return expected_; }

  private:
    const std::size_t most_;
    vw::Bytes bytes_;
    std::optional<std::size_t> expected_;
};

// A compressed stream read the plainest way, a bit at a time down a code tree built node by
// node, by the format's rules alone: a second reading, sharing nothing with the decoder's tables
// and pieces.
struct Decoded {
    std::optional<vw::Failure> failure; // the stream is refused
    bool intact = false;                // the length and the checksum agree
    vw::Bytes bytes;
};

vw::Failure Damaged(vw::StreamFault how, std::int64_t value = 0, std::int64_t other = 0) {
    return {.fault = vw::Fault::StreamDamaged, .value = value, .limit = other, .stream = how};
}

Decoded Decode(const std::uint8_t* s, std::size_t m) {
    using vw::StreamFault;
    Decoded d;
    if (m < 4 || s[0] != 'H' || s[1] != 'E' || (s[2] != '0' && s[2] != '3') || s[3] != 13) {
        d.failure = vw::Failure{vw::Fault::StreamNotIdentified};
        return d;
    }
    if (s[2] == '0') { // stored: the data as it is
        d.intact = true;
        d.bytes.assign(s + 4, s + m);
        return d;
    }
    if (m < 11) {
        d.failure = Damaged(StreamFault::HeadShort);
        return d;
    }
    const auto length =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(s[5]) | s[6] << 8 | s[7] << 16 |
                                  static_cast<std::uint32_t>(s[8]) << 24);
    const auto count = static_cast<std::int16_t>(s[9] | s[10] << 8);
    if (length <= 0) {
        d.failure = Damaged(StreamFault::LengthNotPositive);
        return d;
    }
    if (count < 2) {
        d.failure = Damaged(StreamFault::FewSymbols, count);
        return d;
    }
    const std::size_t codeStart = 11 + 2 * static_cast<std::size_t>(count);
    if (codeStart > m) {
        d.failure = Damaged(StreamFault::TableOverrun);
        return d;
    }
    unsigned lengths[256] = {};
    std::size_t totalBits = 0;
    for (std::size_t at = 11; at < codeStart; at += 2)
        lengths[s[at]] = s[at + 1];
    for (const unsigned bits : lengths)
        totalBits += bits;
    if ((totalBits + 7) / 8 > m - codeStart) {
        d.failure = Damaged(StreamFault::CodeBitsOverrun);
        return d;
    }
    const auto bitAt = [s](std::size_t bit) { return (s[bit / 8] >> (bit % 8)) & 1; };
    // At most 512 nodes, each with its two children and its symbol, -1 for none.
    int child[512][2], symbol[512];
    int nodes = 1;
    child[0][0] = child[0][1] = symbol[0] = -1;
    std::size_t bit = codeStart * 8;
    for (int value = 0; value < 256; ++value) {
        int node = 0;
        for (unsigned k = 0; k < lengths[value]; ++k) {
            if (symbol[node] >= 0) {
                d.failure = Damaged(StreamFault::CodeContinues, value, symbol[node]);
                return d;
            }
            int& next = child[node][bitAt(bit++)];
            if (next < 0) {
                if (nodes == 512) {
                    d.failure = Damaged(StreamFault::TooManyNodes);
                    return d;
                }
                child[nodes][0] = child[nodes][1] = symbol[nodes] = -1;
                next = nodes++;
            }
            node = next;
        }
        if (lengths[value] == 0) continue;
        if (symbol[node] >= 0 || child[node][0] >= 0 || child[node][1] >= 0) {
            d.failure = Damaged(StreamFault::CodeRepeated, value);
            return d;
        }
        symbol[node] = value;
    }
    for (int node = 0; node < nodes; ++node) {
        if (symbol[node] < 0 && (child[node][0] < 0 || child[node][1] < 0)) {
            d.failure = Damaged(StreamFault::CodeIncomplete);
            return d;
        }
    }
    // The data bits start on the byte after the code bits; a code cut by the stream's end is
    // not decoded.
    bit = (codeStart + (totalBits + 7) / 8) * 8;
    // Every code takes a bit at least.
    d.bytes.resize(std::min(static_cast<std::size_t>(length), m * 8 - bit));
    std::size_t decoded = 0;
    std::uint8_t checksum = 0;
    while (decoded < d.bytes.size()) {
        int node = 0;
        while (symbol[node] < 0 && bit < m * 8)
            node = child[node][bitAt(bit++)];
        if (symbol[node] < 0) break;
        d.bytes[decoded++] = static_cast<std::uint8_t>(symbol[node]);
        checksum ^= static_cast<std::uint8_t>(symbol[node]);
    }
    d.bytes.resize(decoded);
    d.intact = decoded == static_cast<std::size_t>(length) && checksum == s[4];
    return d;
}

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
    Decoded stream = Decode(p.data() + at + 1, trailer - at - 1);
    if (stream.failure) {
        e.failure = std::move(stream.failure);
        return e;
    }
    e.status = stream.intact ? vw::kStatusOk : vw::kStatusChecksum;
    e.restored = std::move(stream.bytes);
    return e;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const bool encrypted = data[0] & 1, tested = data[0] & 2;
    vw::Bytes file(data + 1, data + size);
    // The keyed cipher is copied: keying it takes longer than a small restore.
    static const vw::Cipher keyed = [] {
        vw::Cipher cipher;
        cipher.Init(kPassword, kPrivateCode);
        return cipher;
    }();
    vw::Bytes plain;
    if (encrypted) {
        plain = file;
        vw::Cipher cipher = keyed;
        cipher.EncryptBlock(file.data(), file.size());
    }
    static const vw::JobRequest keys = [] {
        vw::JobRequest request;
        request.password = vw::KeyText(kPassword);
        request.privateCode = vw::KeyText(kPrivateCode);
        return request;
    }();
    CheckingSink sink(8 * file.size());
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
    // A file that was not encrypted here decrypts to bytes whose check values all but never
    // agree: the restore's 23 is taken as it is (the encrypted inputs check the check values),
    // and only a file that passes them is decrypted here to be checked whole.
    if (!encrypted) {
        if (result.status == vw::kStatusWrongPassword) return 0;
        plain = file;
        vw::Cipher cipher = keyed;
        cipher.DecryptBlock(plain.data(), plain.size());
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
