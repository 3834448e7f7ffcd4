#pragma once
// A one-line progress bar, redrawn in place on a terminal.
#include <string>

namespace vw::cli {

// The line drawn for a percentage (clamped to 0..100), starting with a carriage return.
std::string ProgressLine(int percent, int width);

class ProgressBar {
  public:
    explicit ProgressBar(int fd) : fd_(fd) {}
    // Draws the line for percent; the engine reports each percentage once.
    void Show(int percent);
    // Clears the line when something was drawn.
    void Finish();

  private:
    int fd_;
    bool drawn_ = false;
};

} // namespace vw::cli
