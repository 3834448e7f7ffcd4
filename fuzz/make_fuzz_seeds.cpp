// Writes the seed corpus of the fuzz harnesses: make_fuzz_seeds CORPUS_FOLDER
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/Bytes.h"
#include "engine/Huffman.h"
#include "engine/JobState.h"

namespace {

void Write(const std::filesystem::path& path, const vw::Bytes& data) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

vw::Bytes FromText(const std::string& text) {
    return vw::Bytes(text.begin(), text.end());
}

vw::Bytes Encoded(vw::Bytes data) {
    vw::HuffmanEncode(data, static_cast<std::int32_t>(data.size()));
    return data;
}

// The plain content of a protected file: header, extension, terminator, stream, check values.
vw::Bytes PlainProtectedFile(const std::string& extension, const vw::Bytes& data) {
    vw::Bytes file(32);
    for (std::size_t i = 0; i < file.size(); ++i)
        file[i] = static_cast<std::uint8_t>(i * 37 + 11);
    file[0] = 32;
    file.insert(file.end(), extension.begin(), extension.end());
    file.push_back(0);
    const vw::Bytes stream = Encoded(data);
    file.insert(file.end(), stream.begin(), stream.end());
    file.push_back(file[30]);
    file.push_back(file[31]);
    return file;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 64;
    const std::filesystem::path root = argv[1];
    std::vector<vw::Bytes> samples = {
        FromText("abracadabra"), FromText("ab"), FromText("aaaa"),
        FromText("The quick brown fox jumps over the lazy dog.\nThe end.\n")};
    vw::Bytes all(256);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<std::uint8_t>(i);
    samples.push_back(all);
    vw::Bytes skewed;
    for (int i = 0, count = 1; i < 20; ++i, count = count * 3 / 2 + 1)
        skewed.insert(skewed.end(), count, static_cast<std::uint8_t>('A' + i));
    samples.push_back(skewed);

    int n = 0;
    for (const auto& sample : samples) {
        const std::string name = "seed" + std::to_string(n++);
        Write(root / "huffman_decode" / name, Encoded(sample));
        vw::Bytes plain = PlainProtectedFile(n % 2 ? "txt" : "", sample);
        plain.insert(plain.begin(), 1); // encrypted by the harness
        Write(root / "restore" / name, plain);
    }
    Write(root / "private_code" / "seed0", FromText("4A6b"));
    Write(root / "private_code" / "seed1", FromText("0fA3c"));
    Write(root / "private_code" / "seed2", FromText("zz4g00FF"));
    Write(root / "password" / "seed0", FromText("Secret1!"));
    Write(root / "password" / "seed1", FromText("ababab"));
    Write(root / "password" / "seed2", FromText("\xe9t\xe9 2024"));
    return 0;
}
