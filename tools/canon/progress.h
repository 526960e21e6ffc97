// The generator's progress: on standard error a bar with the years done, the
// events found and the time left (one line rewritten with \r on a terminal,
// a plain line every ten seconds otherwise), and with machine lines
// "progress DONE TOTAL EVENTS" on standard output for a program that runs the
// generator and shows its own progress.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace vernier::canon {

// "1 h 02 min", "3 min 05 s", "42 s".
std::string FormatDuration(double seconds);

// The text of one progress report (without the bar).
std::string ProgressText(long done, long total, long events, const std::string& band,
                         double secondsLeft);

class ProgressReport {
 public:
  // `total` years to do; `machineLines` adds the lines on standard output.
  ProgressReport(long total, bool machineLines);
  // Called from one thread whenever it likes: reports when something changed.
  void Update(long done, long events, const std::string& band);
  // Blanks the terminal's rewritten line before other output (the next
  // Update draws it again).
  void ClearLine();
  // Ends the terminal's rewritten line.
  void Finish();

 private:
  long total_;
  bool machineLines_;
  bool terminal_;
  long lastDone_ = -1;
  std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastLine_ = started_;
  std::string lastBand_;
  std::size_t lineLength_ = 0;  // of the line on the terminal, 0 when blank
};

}  // namespace vernier::canon
