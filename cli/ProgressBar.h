// SPDX-FileCopyrightText: 2026 The Vaultwise developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress shown on a terminal: one line per file while the files run one after the other,
// one line for the whole run while several run at once; redrawn in place while the jobs run,
// left standing when they end.
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

struct RunFigures {
    int filesDone = 0;
    int files = 0;
    double megabytesPerSecond = -1; // negative: not known yet
    double seconds = -1; // the time left, or the time taken when done; negative: not known
    bool done = false;
};

// The whole run's line, without line ends: "DONE/FILES files  R.R MB/s  M:SS left" (or the time
// taken when done). It stays narrower than width columns: speed and time are left out first,
// then the word "files", then everything.
std::string RunProgressText(const RunFigures& figures, int width);

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

// The whole run's line.
class RunProgressLine {
  public:
    // fd and columns as for ProgressBar; files and bytes: all the run's jobs will work through.
    RunProgressLine(int fd, std::function<int()> columns, int files, std::int64_t bytes);
    // Redraws the line, at most a few times a second, for the files done and the bytes worked
    // through (the done files' and part of the running ones').
    void Show(int filesDone, std::int64_t bytesDone);
    // Takes the line off the screen, so that a message can take its place; Show draws it again.
    void Clear();
    // Draws the last state, with the time taken, and ends the line.
    void Finish(int filesDone);

  private:
    void Draw(bool done);

    using Clock = std::chrono::steady_clock;
    int fd_;
    std::function<int()> columns_;
    std::int64_t bytes_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point drawn_{};
    RunFigures figures_;
    std::int64_t bytesDone_ = 0;
    bool shown_ = false;
};

} // namespace vw::cli
