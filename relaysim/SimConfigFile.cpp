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

}  // namespace

bool ApplySetting(BoardConfig &config, std::string_view name, std::string_view value) {
  const std::string text(value);
  if (name == "model") {
    if (value != "basic" && value != "remote") return false;
    config.model = value == "basic" ? Model::Basic : Model::RemoteControl;
  } else if (name == "ip") {
    return SetAddress(config.ipAddr, value);
  } else if (name == "mask") {
    return SetAddress(config.subMask, value);
  } else if (name == "gateway") {
    return SetAddress(config.gateway, value);
  } else if (name == "keys") {
    if (value != "none" && !IsKeyModes(value)) return false;
    config.buttonCfg = value == "none" ? "" : text;
  } else if (name == "restore") {
    return SetFlag(config.restoreState, value);
  } else if (name == "version") {
    config.version = text;
  } else if (name == "id") {
    if (value.size() != 14) return false;
    config.deviceId = text;
  } else if (name == "password") {
    if (!IsValidPassword(value)) return false;
    config.password = text;
  } else if (name == "dns") {
    return SetAddress(config.dns, value);
  } else if (name == "server") {
    config.webServer = text;
  } else if (name == "remote") {
    return SetFlag(config.enableWeb, value);
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
