#pragma once
// A scratch folder in memory for harnesses that go through files.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vw::fuzz {

inline const std::string& ScratchFolder() {
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::exists("/dev/shm")
                                   ? std::string("/dev/shm")
                                   : std::filesystem::temp_directory_path().string()) +
                              "/vwfuzz-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        return pattern + "/";
    }();
    return folder;
}

} // namespace vw::fuzz
