#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "platform/Files.h"

namespace relayctl {
namespace {

// Beyond a file-size limit (ulimit -f) a write then fails with EFBIG instead
// of the signal ending the process before it can clean up.
void KeepFileSizeSignalAway() { std::signal(SIGXFSZ, SIG_IGN); }

// Writes all of `text`; false with errno set when a write fails.
bool WriteAll(int fd, const std::string &text) {
  for (std::size_t done = 0; done < text.size();) {
    const ssize_t written = write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno != EINTR) return false;
    if (written > 0) done += static_cast<std::size_t>(written);
  }
  return true;
}

}  // namespace

std::optional<std::string> WriteStandardOutput(const std::string &text) {
  KeepFileSizeSignalAway();
  std::cout.flush();
  if (WriteAll(STDOUT_FILENO, text)) return std::nullopt;
  return std::strerror(errno);
}

std::optional<std::string> ReplaceWithPrivateFile(const std::filesystem::path &target, const std::string &text) {
  KeepFileSizeSignalAway();
  std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temporary.data());  // created anew, owner-only
  if (fd < 0) return std::strerror(errno);
  int reason = 0;
  if (!WriteAll(fd, text) || fsync(fd) != 0) reason = errno;
  if (close(fd) != 0 && reason == 0) reason = errno;
  if (reason == 0 && rename(temporary.c_str(), target.c_str()) != 0) reason = errno;
  if (reason == 0) return std::nullopt;
  unlink(temporary.c_str());
  return std::strerror(reason);
}

}  // namespace relayctl
