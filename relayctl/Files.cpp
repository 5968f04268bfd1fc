#include "Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>

namespace relayctl {
namespace {

std::string Failure(const char *verb, const std::string &name, int reason) {
  return std::string("cannot ") + verb + " " + name + ": " + std::strerror(reason);
}

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

std::optional<std::string> ReadTextFile(const std::string &path, std::string &error) {
  const bool standardInput = path == "-";
  const std::string name = standardInput ? "standard input" : path;
  const int fd = standardInput ? STDIN_FILENO : open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = Failure("read", name, errno);
    return std::nullopt;
  }
  std::string content;
  char chunk[1 << 16];
  ssize_t got = 0;
  do {  // up to one byte past the limit, to tell a file at the limit from a larger one
    got = read(fd, chunk, std::min(sizeof chunk, kMaxInputFileBytes + 1 - content.size()));
    if (got > 0) content.append(chunk, static_cast<std::size_t>(got));
  } while ((got > 0 && content.size() <= kMaxInputFileBytes) || (got < 0 && errno == EINTR));
  const int reason = got < 0 ? errno : 0;
  if (!standardInput) close(fd);
  if (reason != 0) {
    error = Failure("read", name, reason);  // "Is a directory" for a directory
    return std::nullopt;
  }
  if (content.size() > kMaxInputFileBytes) {
    error = name + ": larger than 1 MiB, the limit for input files";
    return std::nullopt;
  }
  return content;
}

bool WritePrivateFile(const std::string &path, const std::string &text, std::string &error) {
  // Beyond a file-size limit (ulimit -f) a write then fails with EFBIG
  // instead of the signal ending the process before it can clean up.
  std::signal(SIGXFSZ, SIG_IGN);
  if (path == "-") {
    std::cout.flush();
    if (WriteAll(STDOUT_FILENO, text)) return true;
    error = Failure("write", "standard output", errno);
    return false;
  }
  std::error_code unresolved;  // then the path as given
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, unresolved);
  const std::filesystem::path target = unresolved ? std::filesystem::path(path) : resolved;
  struct stat existing {};
  if (stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
    error = "cannot write " + path + ": not a regular file; only regular files are replaced";
    return false;
  }
  std::string temporary = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
  const int fd = mkstemp(temporary.data());  // created anew, owner-only
  if (fd < 0) {
    error = Failure("write", path, errno);
    return false;
  }
  int reason = 0;
  if (!WriteAll(fd, text) || fsync(fd) != 0) reason = errno;
  if (close(fd) != 0 && reason == 0) reason = errno;
  if (reason == 0 && rename(temporary.c_str(), target.c_str()) != 0) reason = errno;
  if (reason == 0) return true;
  unlink(temporary.c_str());
  error = Failure("write", path, reason);
  return false;
}

}  // namespace relayctl
