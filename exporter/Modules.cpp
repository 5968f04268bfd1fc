#include "Modules.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "io/BackupFile.h"
#include "platform/Files.h"

namespace relay_exporter {
namespace {

bool GoodName(const std::string &name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
  });
}

}  // namespace

std::optional<Modules> ParseModules(std::string_view text, std::string &error) {
  const nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
  if (root.is_discarded() || !root.is_object()) {
    error = "not a JSON object";
    return std::nullopt;
  }
  const auto modules = root.find("modules");
  if (modules == root.end() || !modules->is_object()) {
    error = "\"modules\" must be an object";
    return std::nullopt;
  }
  Modules result{{kDefaultModule, {}}};
  for (const auto &[name, module] : modules->items()) {
    if (!GoodName(name)) {
      error = "module name \"" + name + "\" is not letters, digits, '_' and '-'";
      return std::nullopt;
    }
    const auto desired = module.is_object() ? module.find("desired_state") : module.end();
    if (!module.is_object() || (desired != module.end() && !desired->is_string())) {
      error = "module \"" + name + "\" must be an object whose \"desired_state\" is a file name";
      return std::nullopt;
    }
    result[name] = {desired == module.end() ? "" : desired->get<std::string>(), ""};
  }
  return result;
}

std::optional<Modules> LoadModules(const std::string &path, std::string &error) {
  if (path.empty()) return Modules{{kDefaultModule, {}}};
  const std::optional<std::string> text = relayctl::ReadTextFile(path, error);
  if (!text) return std::nullopt;
  std::optional<Modules> modules = ParseModules(*text, error);
  if (!modules) {
    error = path + ": " + error;
    return std::nullopt;
  }
  for (auto &[name, module] : *modules) {
    if (module.desiredPath.empty()) continue;
    const std::optional<std::string> desired = relayctl::ReadTextFile(module.desiredPath, error);
    if (!desired || !relayctl::ParseBackup(*desired, error)) {
      if (desired) error = module.desiredPath + ": " + error;
      error = "module " + name + ": " + error;
      return std::nullopt;
    }
    module.desiredState = *desired;
  }
  return modules;
}

}  // namespace relay_exporter
