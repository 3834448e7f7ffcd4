#include "cli/ProgressBar.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace vw::cli {
namespace {

constexpr int kBarWidth = 40;

void WriteText(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

std::string ProgressLine(int percent, int width) {
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * width / 100;
    std::string line = "\r[";
    line.append(static_cast<std::size_t>(filled), '#');
    line.append(static_cast<std::size_t>(width - filled), '.');
    line += "] ";
    const std::string number = std::to_string(percent);
    line.append(3 - number.size(), ' ');
    line += number + "%";
    return line;
}

void ProgressBar::Show(int percent) {
    if (percent == last_) return;
    last_ = percent;
    WriteText(fd_, ProgressLine(percent, kBarWidth));
}

void ProgressBar::Finish() {
    if (last_ < 0) return;
    WriteText(fd_, "\r\x1b[K");
    last_ = -1;
}

} // namespace vw::cli
