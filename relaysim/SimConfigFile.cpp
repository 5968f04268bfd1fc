#include "SimConfigFile.h"

#include <algorithm>
#include <optional>

#include "SimAddress.h"
#include "TextItems.h"
#include "ValueRules.h"

namespace relay::sim {
namespace {

std::optional<bool> OnOff(std::string_view value) {
  if (value == "on" || value == "1") return true;
  if (value == "off" || value == "0") return false;
  return std::nullopt;
}

bool SetFlag(bool &field, std::string_view value) {
  const auto flag = OnOff(value);
  if (flag) field = *flag;
  return flag.has_value();
}

// Stores a strict dotted quad in its normal form.
bool SetAddress(std::string &field, std::string_view value) {
  const auto address = ParseQuad(value);
  if (address) field = FormatQuad(*address);
  return address.has_value();
}

bool IsKeyModes(std::string_view value) {
  return value.size() == 8 && std::all_of(value.begin(), value.end(), [](char c) { return c >= '1' && c <= '3'; });
}

// A setting of BoardSettings.h, checked by its kind. Key modes are
// "none" for a board without them.
bool ApplyBoardSetting(BoardConfig &config, const SettingFacts &setting, std::string_view value) {
  const ConfigField &field = FieldOf(setting);
  switch (setting.kind) {
    case SettingKind::Address: return SetAddress(config.*field.text, value);
    case SettingKind::Switch: return SetFlag(config.*field.flag, value);
    case SettingKind::KeyModes:
      if (value != "none" && !IsKeyModes(value)) return false;
      config.*field.text = value == "none" ? "" : std::string(value);
      return true;
    case SettingKind::Password:
      if (!IsValidPassword(value)) return false;
      break;
    case SettingKind::Text: break;
  }
  config.*field.text = std::string(value);
  return true;
}

}  // namespace

bool ApplySetting(BoardConfig &config, std::string_view name, std::string_view value) {
  for (const SettingFacts &setting : kSettings) {
    if (name == setting.name) return ApplyBoardSetting(config, setting, value);
  }
  if (name == "model") {
    if (value != "basic" && value != "remote") return false;
    config.model = value == "basic" ? Model::Basic : Model::RemoteControl;
  } else if (name == "version") {
    config.version = std::string(value);
  } else if (name == "id") {
    if (value.size() != 14) return false;
    config.deviceId = std::string(value);
  } else {
    return false;
  }
  return true;
}

bool ApplyConfigText(BoardConfig &config, std::string_view text, std::string &error) {
  int number = 0;
  for (const std::string &line : SplitItems(text, '\n')) {
    ++number;
    const std::string content = TrimControl(line.substr(0, line.find('#')));
    if (content.empty()) continue;
    const std::size_t equals = content.find('=');
    if (equals == std::string::npos ||
        !ApplySetting(config, TrimControl(content.substr(0, equals)), TrimControl(content.substr(equals + 1)))) {
      error = "line " + std::to_string(number) + ": " + content;
      return false;
    }
  }
  return true;
}

}  // namespace relay::sim
