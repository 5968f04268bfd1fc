#include "commands/ResultJson.h"

#include <nlohmann/json.hpp>

#include "board/SettingTable.h"

namespace relayctl {
namespace {

using Json = nlohmann::ordered_json;

// A value as ValueText gave it, in the kind the backup gives the setting.
Json ValueJson(const SettingInfo *setting, const std::string &text) {
  if (setting && setting->kind == SettingKind::Password) return kMaskedPassword;
  if (setting && setting->kind == SettingKind::Switch) return text == "on";
  return JsonFromBytes(text);
}

}  // namespace

std::string ResultJson(const std::string &address, const WriteResult &result, const char *word,
                       TextEncoding encoding) {
  Json changes = Json::array();
  for (const Change &change : result.changes) {
    const SettingInfo *setting = FindSetting(change.setting);
    changes.push_back({{"setting", change.setting},
                       {"before", ValueJson(setting, change.before)},
                       {"after", ValueJson(setting, change.after)}});
  }
  Json object = {{"address", address},
                 {"result", word},
                 {"exit_status", static_cast<int>(result.status)},
                 {"message", JsonMessage(result.message, encoding)},
                 {"changed", result.changed},
                 {"changes", changes}};
  if (!result.planned) {
    object["restarted"] = result.restarted;
    object["verified"] = result.verified;
  }
  return object.dump();
}

std::string SummaryJson(std::size_t boards, std::size_t took, std::size_t notStarted, ExitStatus status) {
  return Json{{"summary",
               {{"boards", boards}, {"took", took}, {"not_started", notStarted}, {"exit_status", static_cast<int>(status)}}}}
      .dump();
}

}  // namespace relayctl
