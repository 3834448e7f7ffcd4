// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProgressBar.h"

#include <QCoreApplication>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <iterator>
#include <locale.h>
#include <utility>
#include <vector>

#include "cli/FdWrite.h"

namespace vw::cli {
namespace {

constexpr const char* kEllipsis = "\u2026";
constexpr double kBytesPerMegabyte = 1e6;
constexpr double kShortestMeasure = 0.05; // seconds before a speed means anything
constexpr auto kRedrawInterval = std::chrono::milliseconds(100); // of the whole run's line

// The columns a character takes on a terminal, as the C library tells them (two for wide East
// Asian characters and pictographs, none for combining marks), whatever the program's own
// locale; a short table of the wide ranges where the system has no UTF-8 locale.
int Width(char32_t c) {
    static const locale_t utf8 = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    if (utf8 != locale_t{}) {
        const locale_t before = ::uselocale(utf8);
        const int width = ::wcwidth(static_cast<wchar_t>(c));
        ::uselocale(before);
        return width < 0 ? 1 : width;
    }
    static constexpr std::pair<char32_t, char32_t> kWide[] = {
        {0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},   {0x3400, 0x4DBF},
        {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},
        {0xFE30, 0xFE4F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
        {0x1F680, 0x1F6FF}, {0x1F900, 0x1F9FF}, {0x1FA70, 0x1FAFF}, {0x20000, 0x3FFFD}};
    return std::any_of(std::begin(kWide), std::end(kWide),
                       [c](const auto& range) { return c >= range.first && c <= range.second; })
               ? 2
               : 1;
}

struct Glyph {
    std::size_t start; // in the text
    int columns;
};

// The characters of valid UTF-8 text (names are shown escaped, so they are valid).
std::vector<Glyph> Glyphs(const std::string& text) {
    std::vector<Glyph> glyphs;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t c = length == 1 ? lead : lead & (0x7Fu >> length);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            c = c << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        glyphs.push_back({i, Width(c)});
        i += length;
    }
    return glyphs;
}

int Columns(const std::string& text) {
    int columns = 0;
    for (const Glyph& glyph : Glyphs(text))
        columns += glyph.columns;
    return columns;
}

// The last columns of text, after "…" when something was cut.
std::string LastColumns(const std::string& text, int columns) {
    if (Columns(text) <= columns) return text;
    const std::vector<Glyph> glyphs = Glyphs(text);
    std::size_t from = text.size();
    int kept = 1; // for "…"
    for (auto glyph = glyphs.rbegin(); glyph != glyphs.rend() && kept + glyph->columns <= columns;
         ++glyph) {
        kept += glyph->columns;
        from = glyph->start;
    }
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

// "  R.R MB/s" ("--" while unknown), and "  M:SS left", or the time taken once done.
std::pair<std::string, std::string> SpeedAndTime(double megabytesPerSecond, double seconds,
                                                 bool done) {
    char number[32];
    std::snprintf(number, sizeof number, "%.1f", megabytesPerSecond);
    const QString rate = megabytesPerSecond >= 0 ? QString::fromLatin1(number) : "--";
    const QString time = QString::fromStdString(Duration(seconds));
    return {"  " + QCoreApplication::translate("vwx", "%1 MB/s").arg(rate).toStdString(),
            "  " + (done ? time : QCoreApplication::translate("vwx", "%1 left").arg(time))
                       .toStdString()};
}

} // namespace

std::string ProgressText(const ProgressFigures& f, int width) {
    char number[32];
    std::snprintf(number, sizeof number, "  %3d%%", std::clamp(f.percent, 0, 100));
    const std::string percent = number;
    const auto [speed, left] = SpeedAndTime(f.megabytesPerSecond, f.seconds, f.done);
    const int room = width - 1; // the last column would wrap on some terminals
    std::string figures = percent + speed + left;
    // The name keeps at least one character, after "…" when it is cut.
    if (room - Columns(figures) < std::min(Columns(f.name), 2)) figures = percent;
    const int nameRoom = room - Columns(figures);
    if (nameRoom >= 1) return LastColumns(f.name, nameRoom) + figures;
    // Too narrow for a name: the percentage alone, as much of it as fits.
    for (std::string alone : {percent.substr(2), percent.substr(percent.find_first_not_of(' '))})
        if (Columns(alone) <= room) return alone;
    return {};
}

std::string RunProgressText(const RunFigures& f, int width) {
    const std::string count = std::to_string(f.filesDone) + "/" + std::to_string(f.files);
    const std::string files =
        QCoreApplication::translate("vwx", "%1 files").arg(QString::fromStdString(count)).toStdString();
    const auto [speed, left] = SpeedAndTime(f.megabytesPerSecond, f.seconds, f.done);
    const int room = width - 1; // the last column would wrap on some terminals
    for (const std::string& line : {files + speed + left, files, count})
        if (Columns(line) <= room) return line;
    return {};
}

RunProgressLine::RunProgressLine(int fd, std::function<int()> columns, int files,
                                 std::int64_t bytes)
    : fd_(fd), columns_(std::move(columns)), bytes_(bytes) {
    figures_.files = files;
}

void RunProgressLine::Show(int filesDone, std::int64_t bytesDone) {
    if (fd_ < 0) return;
    figures_.filesDone = filesDone;
    bytesDone_ = std::max(bytesDone_, bytesDone);
    if (shown_ && Clock::now() - drawn_ < kRedrawInterval) return;
    Draw(false);
}

void RunProgressLine::Clear() {
    if (fd_ < 0 || !shown_) return;
    WriteAll(fd_, "\r\x1b[K");
    shown_ = false;
}

void RunProgressLine::Finish(int filesDone) {
    if (fd_ < 0) return;
    figures_.filesDone = filesDone;
    Draw(true);
    WriteAll(fd_, "\n");
    shown_ = false;
}

void RunProgressLine::Draw(bool done) {
    drawn_ = Clock::now();
    const double elapsed = std::chrono::duration<double>(drawn_ - start_).count();
    const bool measured = elapsed >= kShortestMeasure && bytesDone_ > 0;
    const double rate = measured ? static_cast<double>(bytesDone_) / elapsed : 0;
    figures_.megabytesPerSecond = measured ? rate / kBytesPerMegabyte : -1;
    figures_.seconds = done       ? elapsed
                       : measured ? static_cast<double>(std::max<std::int64_t>(
                                        bytes_ - bytesDone_, 0)) / rate
                                  : -1;
    figures_.done = done;
    std::string line(1, '\r');
    line += RunProgressText(figures_, columns_());
    line += "\x1b[K";
    WriteAll(fd_, line);
    shown_ = true;
}

void ProgressBar::Start(const std::string& name, std::int64_t bytes) {
    if (fd_ < 0) return;
    figures_ = ProgressFigures{name};
    bytes_ = bytes;
    start_ = Clock::now();
    started_ = true;
    Draw(false);
}

void ProgressBar::Show(int percent) {
    if (!started_ || percent <= figures_.percent) return;
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
    line += ProgressText(figures_, columns_());
    line += "\x1b[K";
    WriteAll(fd_, line);
}

} // namespace vw::cli
