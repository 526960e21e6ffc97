#include "progress.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>

namespace vernier::canon {

std::string FormatDuration(double seconds) {
  const long s = std::lround(seconds < 0 ? 0 : seconds);
  char text[48];
  if (s >= 3600)
    std::snprintf(text, sizeof text, "%ld h %02ld min", s / 3600, s / 60 % 60);
  else if (s >= 60)
    std::snprintf(text, sizeof text, "%ld min %02ld s", s / 60, s % 60);
  else
    std::snprintf(text, sizeof text, "%ld s", s);
  return text;
}

std::string ProgressText(long done, long total, long events, const std::string& band,
                         double secondsLeft) {
  const int percent = total > 0 ? static_cast<int>(100 * done / total) : 100;
  char text[160];
  std::snprintf(text, sizeof text, "%3d%%  %s  years %ld/%ld  events %ld  %s left", percent,
                band.c_str(), done, total, events,
                done > 0 ? FormatDuration(secondsLeft).c_str() : "(time)");
  return text;
}

ProgressReport::ProgressReport(long total, bool machineLines)
    : total_(total), machineLines_(machineLines), terminal_(isatty(fileno(stderr)) == 1) {}

void ProgressReport::Update(long done, long events, const std::string& band) {
  const auto now = std::chrono::steady_clock::now();
  const double elapsed = std::chrono::duration<double>(now - started_).count();
  if (done == lastDone_ && band == lastBand_) return;
  const bool changedBand = band != lastBand_;
  lastDone_ = done;
  lastBand_ = band;
  if (machineLines_) {
    std::printf("progress %ld %ld %ld\n", done, total_, events);
    std::fflush(stdout);
  }
  const double left = done > 0 ? elapsed * (total_ - done) / done : 0;
  const std::string text = ProgressText(done, total_, events, band, left);
  if (terminal_) {
    constexpr int kWidth = 24;
    const int filled = total_ > 0 ? static_cast<int>(kWidth * done / total_) : kWidth;
    std::string line(1, '[');
    line.append(filled, '#').append(kWidth - filled, '-').append("] ").append(text);
    // Blanks also what a longer line before left.
    std::fprintf(stderr, "\r%-*s", static_cast<int>(std::max(line.size(), lineLength_)),
                 line.c_str());
    lineLength_ = line.size();
  } else if (changedBand || done == total_ || now - lastLine_ >= std::chrono::seconds(10)) {
    std::fprintf(stderr, "%s\n", text.c_str());
    lastLine_ = now;
  }
  std::fflush(stderr);
}

void ProgressReport::ClearLine() {
  if (!terminal_ || lineLength_ == 0) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(lineLength_), "");
  std::fflush(stderr);
  lineLength_ = 0;
  lastDone_ = -1;  // drawn again at the next update
}

void ProgressReport::Finish() {
  if (terminal_ && lineLength_ > 0) std::fprintf(stderr, "\n");
  lineLength_ = 0;
}

}  // namespace vernier::canon
