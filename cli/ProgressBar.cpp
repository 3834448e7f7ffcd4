#include "cli/ProgressBar.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cli/FdWrite.h"

namespace vw::cli {
namespace {

constexpr const char* kEllipsis = "\u2026";
constexpr double kBytesPerMegabyte = 1e6;
constexpr double kShortestMeasure = 0.05; // seconds before a speed means anything

// Columns taken by UTF-8 text: one per character.
int Columns(const std::string& text) {
    return static_cast<int>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

// The last columns of text, after "…" when something was cut.
std::string LastColumns(const std::string& text, int columns) {
    if (Columns(text) <= columns) return text;
    std::size_t from = text.size();
    for (int kept = 0; kept < columns - 1;) // one column for "…"
        if ((static_cast<unsigned char>(text[--from]) & 0xC0) != 0x80) ++kept;
    return kEllipsis + text.substr(from);
}

std::string Duration(double seconds) {
    if (seconds < 0) return "-:--";
    const long total = std::lround(seconds);
    char text[32];
    if (total < 3600)
        std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
    else
        std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60,
                      total % 60);
    return text;
}

} // namespace

std::string ProgressText(const ProgressFigures& f, int width) {
    char number[32];
    std::snprintf(number, sizeof number, "  %3d%%", std::clamp(f.percent, 0, 100));
    const std::string percent = number;
    std::string speed = "  -- MB/s";
    if (f.megabytesPerSecond >= 0) {
        std::snprintf(number, sizeof number, "  %.1f MB/s", f.megabytesPerSecond);
        speed = number;
    }
    const QString time = QString::fromStdString(Duration(f.seconds));
    const std::string left =
        "  " +
        (f.done ? time : QCoreApplication::translate("vwx", "%1 left").arg(time)).toStdString();
    const int room = width - 1; // the last column would wrap on some terminals
    std::string figures = percent + speed + left;
    if (room - Columns(figures) < 1) figures = percent;
    const int nameRoom = room - Columns(figures);
    if (nameRoom < 1) return percent.substr(2);
    return LastColumns(f.name, nameRoom) + figures;
}

void ProgressBar::Start(const std::string& name, std::int64_t bytes, int width) {
    figures_ = ProgressFigures{name};
    bytes_ = bytes;
    width_ = width;
    start_ = Clock::now();
    started_ = true;
    Draw(false);
}

void ProgressBar::Show(int percent) {
    figures_.percent = percent;
    Draw(false);
}

void ProgressBar::Finish(bool completed) {
    if (!started_) return;
    if (completed) figures_.percent = 100;
    Draw(completed);
    WriteAll(fd_, "\n");
    started_ = false;
}

void ProgressBar::Draw(bool done) {
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    const double share = std::clamp(figures_.percent, 0, 100) / 100.0;
    const bool measured = elapsed >= kShortestMeasure && share > 0;
    figures_.megabytesPerSecond =
        measured ? static_cast<double>(bytes_) * share / elapsed / kBytesPerMegabyte : -1;
    figures_.seconds = done ? elapsed : measured ? elapsed * (1 - share) / share : -1;
    figures_.done = done;
    std::string line(1, '\r');
    line += ProgressText(figures_, width_);
    line += "\x1b[K";
    WriteAll(fd_, line);
}

} // namespace vw::cli
