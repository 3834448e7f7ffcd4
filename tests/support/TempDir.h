#pragma once
// A scratch folder for one test, removed with everything in it afterwards.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "engine/Bytes.h"

namespace vw::test {

class TempDir {
  public:
    TempDir() {
        // Memory-backed when the system has it: jobs flush their output, and tests run many.
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
    // Names of the entries in the folder, sorted.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

inline void WriteFile(const std::string& path, const std::string& text) {
    WriteFile(path, Bytes(text.begin(), text.end()));
}

inline Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline Bytes RandomData(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes data(size);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(rng());
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
    data.reserve(size);
    while (data.size() < size) {
        const char* w = words[rng() % std::size(words)];
        for (const char* p = w; *p && data.size() < size; ++p)
            data.push_back(static_cast<std::uint8_t>(*p));
    }
    return data;
}

} // namespace vw::test
