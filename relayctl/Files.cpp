#include "Files.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

namespace relayctl {

std::optional<std::string> ReadTextFile(const std::string &path) {
  std::ostringstream content;
  if (path == "-") {
    content << std::cin.rdbuf();
    return content.str();
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  content << file.rdbuf();
  return content.str();
}

bool WritePrivateFile(const std::string &path, const std::string &text) {
  if (path == "-") {
    std::cout << text << std::flush;
    return static_cast<bool>(std::cout);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) return false;
  std::error_code error;  // before any byte is written
  std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::replace, error);
  file << text;
  return !error && static_cast<bool>(file.flush());
}

}  // namespace relayctl
