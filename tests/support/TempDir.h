// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scratch folder removed with its contents afterwards, file helpers and test data.
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/io/Bytes.h"

namespace vw::test {

inline void WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
}

inline void WriteFile(const std::string& path, const std::string& text) {
    WriteFile(path, Bytes(text.begin(), text.end()));
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempDir {
  public:
    // Memory-backed when the system has it: jobs flush their output, and tests run many.
    TempDir() {
        const std::filesystem::path base =
            ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : std::filesystem::temp_directory_path();
        std::string pattern = (base / "vwtest-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    const std::filesystem::path& path() const { return path_; }
    // Names of the entries in the folder or one of its subfolders, sorted.
    std::vector<std::string> Entries(const std::string& sub = "") const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_ / sub))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // The entries with their contents (none for a folder), FIFOs left out.
    std::map<std::string, Bytes> Snapshot() const {
        std::map<std::string, Bytes> files;
        for (const std::string& name : Entries())
            if (!std::filesystem::is_fifo(path_ / name))
                files[name] =
                    std::filesystem::is_directory(path_ / name) ? Bytes{} : ReadFile(*this / name);
        return files;
    }
    void Clear() const {
        for (const auto& e : std::filesystem::directory_iterator(path_))
            std::filesystem::remove_all(e.path());
    }

  private:
    std::filesystem::path path_;
};

inline Bytes RandomData(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes data(size);
    std::generate(data.begin(), data.end(), [&] { return static_cast<std::uint8_t>(rng()); });
    return data;
}

// English-like text: compresses the way documents do.
inline Bytes TextData(std::size_t size, unsigned seed) {
    static const char* words[] = {"the ",      "file ",    "protected ", "and ",   "of ",
                                  "password ", "restore ", "data ",      "a ",     "to ",
                                  "is ",       "in ",      "with ",      "vault ", "every ",
                                  "byte ",     "back. ",   "Again, ",    "\n"};
    std::mt19937 rng(seed);
    Bytes data;
    while (data.size() < size) {
        for (const char* p = words[rng() % std::size(words)]; *p && data.size() < size; ++p)
            data.push_back(static_cast<std::uint8_t>(*p));
    }
    return data;
}

// Data whose value counts run 1, 1, 2, 3, 5, ...: the deepest code tree for its total, with
// codes of 30 bits and more, shuffled through the data.
inline Bytes LongCodeData(std::size_t symbols, unsigned seed) {
    Bytes data;
    for (std::uint32_t v = 0, count = 1, next = 1; v < symbols;
         ++v, count = std::exchange(next, count + next))
        data.insert(data.end(), count, static_cast<std::uint8_t>(v * 7));
    std::shuffle(data.begin(), data.end(), std::mt19937(seed));
    return data;
}

} // namespace vw::test
