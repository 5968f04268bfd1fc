#include "io/Progress.h"

#include <cstdio>

#include "platform/Terminal.h"

namespace relayctl {
namespace {
constexpr std::size_t kBarWidth = 30;
}

Progress::Progress(std::size_t total) : total_(total), enabled_(ErrorIsTerminal()) {}

Progress::~Progress() { Clear(); }

void Progress::Show(std::size_t done, const std::string &label) {
  if (!enabled_ || total_ == 0) return;
  const std::size_t filled = done * kBarWidth / total_;
  std::fprintf(stderr, "\r[%s%s] %zu/%zu %-24.24s", std::string(filled, '#').c_str(),
               std::string(kBarWidth - filled, ' ').c_str(), done, total_, label.c_str());
  std::fflush(stderr);
  drawn_ = true;
}

void Progress::Clear() {
  if (!drawn_) return;
  std::fprintf(stderr, "\r%*s\r", static_cast<int>(kBarWidth + 50), "");
  std::fflush(stderr);
  drawn_ = false;
}

}  // namespace relayctl
