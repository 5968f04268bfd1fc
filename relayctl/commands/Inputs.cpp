#include "commands/Inputs.h"

#include <algorithm>

#include "board/AddressRange.h"
#include "io/Report.h"
#include "platform/Files.h"

namespace relayctl {

bool GatherTargets(std::vector<std::string> &addresses, const std::string &listPath) {
  if (!listPath.empty()) {
    std::string error;
    const std::optional<std::string> list = ReadTextFile(listPath, error);
    const auto listed = list ? ParseAddressList(*list, error) : std::nullopt;
    if (!listed) {
      Report(list ? listPath + ": " + error : error);
      return false;
    }
    addresses.insert(addresses.end(), listed->begin(), listed->end());
  }
  std::vector<std::string> distinct;
  for (const std::string &address : addresses) {
    if (std::find(distinct.begin(), distinct.end(), address) == distinct.end()) distinct.push_back(address);
  }
  if (distinct.size() < addresses.size()) {
    Report(std::to_string(addresses.size() - distinct.size()) + " addresses given more than once are taken once");
  }
  addresses = std::move(distinct);
  return true;
}

std::optional<Backup> LoadBackup(const std::string &path) {
  std::string error;
  const std::optional<std::string> read = ReadTextFile(path, error);
  std::optional<Backup> backup = read ? ParseBackup(*read, error) : std::nullopt;
  if (!backup) Report(read ? path + ": " + error : error);
  return backup;
}

}  // namespace relayctl
