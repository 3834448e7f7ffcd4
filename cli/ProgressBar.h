// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One progress line per file on a terminal: redrawn in place while the job runs, left standing
// when it ends.
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace vw::cli {

struct ProgressFigures {
    std::string name;               // the file's name as shown (control characters escaped)
    int percent = 0;                // clamped to 0..100
    double megabytesPerSecond = -1; // negative: not known yet
    double seconds = -1; // the time left, or the time taken when done; negative: not known
    bool done = false;
};

// The line for the figures, without line ends: "NAME  PCT%  R.R MB/s  M:SS left" (or the time
// taken when done). It stays narrower than width columns: the name loses its start to "…",
// and when even one character of it does not fit, speed and time are left out, then the name.
std::string ProgressText(const ProgressFigures& figures, int width);

class ProgressBar {
  public:
    // fd: where the line is drawn; none (-1): nothing is drawn. columns: the terminal's width,
    // asked at every redraw, so a window made narrower never gets a line that wraps.
    ProgressBar(int fd, std::function<int()> columns) : fd_(fd), columns_(std::move(columns)) {}
    // Starts the line of a file of the given size.
    void Start(const std::string& name, std::int64_t bytes);
    // Redraws the line for percent when it is further on than the line shows.
    void Show(int percent);
    // Draws the last state (all of the file when completed) and ends the line.
    void Finish(bool completed);

  private:
    void Draw(bool done);

    using Clock = std::chrono::steady_clock;
    int fd_;
    std::function<int()> columns_;
    std::int64_t bytes_ = 0;
    Clock::time_point start_;
    ProgressFigures figures_;
    bool started_ = false;
};

} // namespace vw::cli
