// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the seed corpus of the fuzz harnesses: make_fuzz_seeds CORPUS_FOLDER
#include <filesystem>
#include <numeric>
#include <string>
#include <utility>
#include <vector>

#include "engine/io/Bytes.h"
#include "tests/support/ProtectedFileForge.h"
#include "tests/support/TempDir.h"

namespace {

void Write(const std::filesystem::path& path, const vw::Bytes& data) {
    std::filesystem::create_directories(path.parent_path());
    vw::test::WriteFile(path.string(), data);
}

// An input of the protect-restore harness (its fields: protect_restore_fuzzer.cpp), with the
// check values 174 and 211.
vw::Bytes ProtectRestoreInput(unsigned shape, int d, bool useCode, const std::string& password,
                              const std::string& code, const std::string& extension,
                              const std::string& payload) {
    vw::Bytes in = {static_cast<std::uint8_t>((useCode ? 1 : 0) | shape << 1),
                    static_cast<std::uint8_t>(password.size() - 4),
                    static_cast<std::uint8_t>(code.size()),
                    static_cast<std::uint8_t>(extension.size() | (d + 3) << 3),
                    41 - 32,
                    174,
                    211};
    for (const std::string* text : {&password, &code, &extension, &payload})
        in.insert(in.end(), text->begin(), text->end());
    return in;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 64;
    const std::filesystem::path root = argv[1];
    std::vector<std::string> samples = {
        "abracadabra",          "ab", "aaaa", "The quick brown fox.\nThe end.\n",
        std::string(256, '\0'), ""};
    std::iota(samples[4].begin(), samples[4].end(), '\0'); // every byte value once
    // Thirteen letters counted as the Fibonacci numbers: codes of 1 to 12 bits, longer than the
    // decoder's table, from the fewest bytes (609) that give them.
    for (int i = 0, count = 1, next = 1; i < 13; ++i, next += count, count = next - count)
        samples[5].append(static_cast<std::size_t>(count), static_cast<char>('A' + i));
    // Protected files with a 32-byte header, the extension "txt" every other time; the restore
    // harness encrypts inputs that start with an odd byte.
    vw::test::VwxParts parts;
    parts.header = vw::test::FixedHeader().substr(0, 32);
    parts.header[0] = 32;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        const std::string name = "seed" + std::to_string(n);
        parts.stream = vw::test::Encoded(vw::Bytes(samples[n].begin(), samples[n].end()));
        parts.extension = n % 2 ? "" : "txt";
        Write(root / "huffman_decode" / name, parts.stream);
        vw::Bytes plain = vw::test::PlainVwx(parts);
        plain.insert(plain.begin(), 1);
        Write(root / "restore" / name, plain);
    }
    const std::pair<const char*, std::string> texts[] = {
        {"private_code/seed0", "4A6b"},     {"private_code/seed1", "0fA3c"},
        {"private_code/seed2", "zz4g00FF"}, {"password/seed0", "Secret1!"},
        {"password/seed1", "ababab"},       {"password/seed2", "\xe9t\xe9 2024"}};
    for (const auto& [name, text] : texts)
        Write(root / name, vw::Bytes(text.begin(), text.end()));
    // Protect then restore: the samples as they are, then the shapes 126 and 127 (a file of
    // one restore step, of one restore piece) at their boundary and beside it.
    const std::string password = "Secret12", code = "Codice7";
    int n = 0;
    for (std::size_t k = 0; k < samples.size(); ++k) {
        Write(
            root / "protect_restore" / ("seed" + std::to_string(n++)),
            ProtectRestoreInput(0, 0, k % 2 == 0, password, code, k % 3 ? "txt" : "", samples[k]));
    }
    Write(root / "protect_restore" / ("seed" + std::to_string(n++)), // the empty file
          ProtectRestoreInput(0, 0, true, password, code, "bin", ""));
    Write(root / "protect_restore" / ("seed" + std::to_string(n++)), // a password too short
          ProtectRestoreInput(0, 0, false, "abcd", "", "txt", "ab"));
    for (const auto& [shape, d] :
         {std::pair{126u, -1}, {126u, 0}, {126u, 1}, {127u, -1}, {127u, 0}, {127u, 1}}) {
        Write(root / "protect_restore" / ("seed" + std::to_string(n++)),
              ProtectRestoreInput(shape, d, d == 0, password, code, "dat", samples[0]));
    }
    return 0;
}
