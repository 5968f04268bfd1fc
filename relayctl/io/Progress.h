// A progress bar on standard error, drawn only when it is a terminal
// (Terminal.h).
#pragma once

#include <cstddef>
#include <string>

namespace relayctl {

class Progress {
 public:
  explicit Progress(std::size_t total);
  ~Progress();
  Progress(const Progress &) = delete;
  Progress &operator=(const Progress &) = delete;

  // Redraws with `done` of the total finished and `label` after the bar.
  void Show(std::size_t done, const std::string &label = {});
  // Clears the bar's line, so that later messages start on a clean line.
  void Clear();

 private:
  std::size_t total_;
  bool drawn_ = false;
  bool enabled_;
};

}  // namespace relayctl
