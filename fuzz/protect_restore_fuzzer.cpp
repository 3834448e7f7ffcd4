// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Protects arbitrary bytes in memory and restores them: the bytes must come back exactly, with
// the stored extension, and the protected file must be exactly the format the buffer-level
// codec and cipher give. An input is read as:
//   byte 0   bit 0: the private code is used; bits 1-7: the shape (below)
//   byte 1   the password's length, 4 to 16 (4 is too short: both jobs refuse it)
//   byte 2   the private code's length, 0 to 23
//   byte 3   bits 0-2: the extension's length, 0 to 7; bits 3-5: d, -3 to 4, the distance
//            from the boundary the shape names
//   byte 4   the header's length, 32 to 255
//   then the check values (2 bytes), the password, the private code, the extension (bytes a
//   source's name cannot give, a dot, a slash or a control character, left out), and the rest:
//   the payload. A field the input ends within is cut short.
// Shapes 0 to 125 protect the payload as it is (nothing, for the empty file). The last two
// make a protected file that ends at the boundaries where a restore splits its work, or
// beside one: of one restore step, or of one restore piece. Their content is one byte value
// repeated, which is stored unchanged, so that the file's length comes out exact. (The jobs'
// tests check sources at the protect's chunk boundaries.)
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/format/VwxFormat.h"
#include "engine/job/Job.h"
#include "engine/job/MemoryJobs.h"
#include "engine/job/RestoreSink.h"
#include "engine/job/StreamPipeline.h"
#include "engine/text/PasswordRules.h"
#include "tests/support/ProtectedFileForge.h"

namespace {

void Expect(bool holds) {
    if (!holds) __builtin_trap();
}

// boundary + d.
std::size_t Near(std::size_t boundary, int d) {
    return d < 0 ? boundary - static_cast<std::size_t>(-d) : boundary + static_cast<std::size_t>(d);
}

class CollectingSink : public vw::RestoreSink {
  public:
    void Write(const std::uint8_t* data, std::size_t count) override {
        bytes.insert(bytes.end(), data, data + count);
    }
    vw::Bytes bytes;
};

// The input's fields, taken from the front.
class Fields {
  public:
    Fields(const std::uint8_t* data, std::size_t size) : at_(data), end_(data + size) {}
    std::uint8_t Byte() { return at_ < end_ ? *at_++ : 0; }
    std::string Text(std::size_t length) {
        const std::size_t take =
            std::min<std::size_t>(length, static_cast<std::size_t>(end_ - at_));
        std::string text(reinterpret_cast<const char*>(at_), take);
        at_ += take;
        return text;
    }
    vw::Bytes Rest() const { return vw::Bytes(at_, end_); }

  private:
    const std::uint8_t* at_;
    const std::uint8_t* end_;
};

// The protected file's length each value of bits 1-7 of the first byte gives, 0 for the
// payload as it is. A restore decrypts in steps of kCipherStep (a file of one step is restored
// on the calling thread) and reads its file in pieces of half a chunk. Looked up rather than
// compared: the fuzzer would otherwise learn the values that lead to the slow shapes, and
// choose them often.
constexpr std::array<std::size_t, 128> kFileLengths = [] {
    std::array<std::size_t, 128> lengths{};
    lengths[126] = vw::stream::kCipherStep;
    lengths[127] = vw::stream::kChunkSize / 2;
    return lengths;
}();

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Fields in(data, size);
    const std::uint8_t flags = in.Byte();
    const std::size_t boundary = kFileLengths[flags >> 1];
    const std::size_t passwordLength = 4 + in.Byte() % 13;
    const std::size_t codeLength = in.Byte() % 24;
    const std::uint8_t lengthAndD = in.Byte();
    const std::size_t extensionLength = lengthAndD & 7;
    const int d = ((lengthAndD >> 3) & 7) - 3;
    std::string header(vw::vwx::kMinHeaderLength + in.Byte() % 224, '\0');
    for (std::size_t i = 0; i < header.size(); ++i)
        header[i] = static_cast<char>(i == 0 ? header.size() : i * 151 + 7);
    header[header.size() - 2] = static_cast<char>(in.Byte());
    header[header.size() - 1] = static_cast<char>(in.Byte());
    const std::string password = in.Text(passwordLength);
    const std::string code = in.Text(codeLength);
    std::string extension = in.Text(extensionLength);
    std::erase_if(extension, [](char c) {
        return vw::vwx::IsControlByte(static_cast<unsigned char>(c)) || c == '.' || c == '/';
    });
    const vw::Bytes payload = in.Rest();

    // A password too short is refused before anything else: the content does not matter.
    const bool accepted = vw::IsAcceptablePassword(password);
    vw::Bytes content = payload;
    std::size_t fileLength = 0; // the protected file's, when the shape makes it exact
    if (boundary > 0 && accepted) {
        // Stored: the file is the header, the extension, the terminator, "HE0" CR and the
        // content, then the check values.
        fileLength = Near(boundary, d);
        content.assign(fileLength - header.size() - extension.size() - 7,
                       payload.empty() ? 0 : payload[0]);
    }

    vw::JobRequest keys;
    keys.password = vw::KeyText(password);
    if (flags & 1) keys.privateCode = vw::KeyText(code);
    keys.header = [&] { return header; };
    vw::JobControl control;
    vw::Bytes file;
    const vw::JobResult protect = vw::ProtectBytes(content, extension, keys, file, control);
    if (!accepted) {
        Expect(protect.status == vw::kStatusPasswordTooShort && file.empty());
        Expect(vw::RestoreBytes(file, keys, nullptr, control).status ==
               vw::kStatusPasswordTooShort);
        return 0;
    }
    if (content.empty()) {
        Expect(protect.status == vw::kStatusEmptyFile && file.empty());
        return 0;
    }
    Expect(protect.status == vw::kStatusOk);
    Expect(fileLength == 0 || file.size() == fileLength);
    // Exactly the format: the plain parts, coded by the buffer-level codec, encrypted in order
    // (checked for the payload as it is; the shapes at boundaries would take twice as long).
    if (boundary == 0) {
        const vw::test::VwxParts parts{
            .header = header, .extension = extension, .stream = vw::test::Encoded(content)};
        Expect(file == vw::test::ForgeVwx(parts, password, keys.privateCode.View()));
    }

    CollectingSink sink;
    const vw::JobResult restore = vw::RestoreBytes(file, keys, &sink, control);
    Expect(restore.status == vw::kStatusOk);
    Expect(restore.extension == extension);
    Expect(sink.bytes == content);
    return 0;
}
