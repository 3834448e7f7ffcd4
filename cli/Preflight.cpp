#include "cli/Preflight.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace vw::cli {
namespace {

const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    return "a special file";
}

} // namespace

std::string SourceProblem(const std::string& path) {
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0) {
        const int error = errno;
        std::string text = "File non trovato: " + path;
        if (error != ENOENT) text += " (" + std::string(std::strerror(error)) + ")";
        return text;
    }
    if (S_ISREG(info.st_mode)) return {};
    return path + " is " + KindOf(info.st_mode) + ", not a file";
}

std::string ProtectResultInTheWay(const Options& options) {
    if (options.force) return {};
    const std::string result = ProtectResultPath(options);
    struct stat info = {};
    // A dangling link counts too: the result would replace it.
    if (result == options.file || ::lstat(result.c_str(), &info) != 0) return {};
    return result;
}

} // namespace vw::cli
