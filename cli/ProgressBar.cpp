#include "cli/ProgressBar.h"

#include <algorithm>

#include "cli/FdWrite.h"

namespace vw::cli {
namespace {

constexpr int kBarWidth = 40;

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
    WriteAll(fd_, ProgressLine(percent, kBarWidth));
    drawn_ = true;
}

void ProgressBar::Finish() {
    if (!drawn_) return;
    WriteAll(fd_, "\r\x1b[K");
    drawn_ = false;
}

} // namespace vw::cli
