#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace relayctl {
namespace {

std::string Failure(const char *verb, const std::string &name, const std::string &reason) {
  return std::string("cannot ") + verb + " " + name + ": " + reason;
}

}  // namespace

std::optional<std::string> ReadTextFile(const std::string &path, std::string &error) {
  const bool standardInput = path == "-";
  const std::string name = standardInput ? "standard input" : path;
  std::FILE *file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    error = Failure("read", name, std::strerror(errno));
    return std::nullopt;
  }
  std::string content;
  char chunk[1 << 16];
  std::size_t got = 0;
  errno = 0;
  do {  // up to one byte past the limit, to tell a file at the limit from a larger one
    got = std::fread(chunk, 1, std::min(sizeof chunk, kMaxInputFileBytes + 1 - content.size()), file);
    content.append(chunk, got);
  } while (got > 0 && content.size() <= kMaxInputFileBytes);
  const int reason = std::ferror(file) ? errno : 0;
  if (!standardInput) std::fclose(file);
  if (reason != 0) {
    error = Failure("read", name, std::strerror(reason));  // "Is a directory" for a directory on POSIX
    return std::nullopt;
  }
  if (content.size() > kMaxInputFileBytes) {
    error = name + ": larger than 1 MiB, the limit for input files";
    return std::nullopt;
  }
  return content;
}

bool WritePrivateFile(const std::string &path, const std::string &text, std::string &error) {
  if (path == "-") {
    const std::optional<std::string> reason = WriteStandardOutput(text);
    if (reason) error = Failure("write", "standard output", *reason);
    return !reason;
  }
  std::error_code unresolved;  // then the path as given
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, unresolved);
  const std::filesystem::path target = unresolved ? std::filesystem::path(path) : resolved;
  std::error_code missing;
  const std::filesystem::file_status existing = std::filesystem::status(target, missing);
  if (std::filesystem::exists(existing) && !std::filesystem::is_regular_file(existing)) {
    error = "cannot write " + path + ": not a regular file; only regular files are replaced";
    return false;
  }
  const std::optional<std::string> reason = ReplaceWithPrivateFile(target, text);
  if (reason) error = Failure("write", path, *reason);
  return !reason;
}

}  // namespace relayctl
