// The exporter's modules, from its configuration file (JSON):
//
//   {"modules": {"office": {"desired_state": "/etc/relay_exporter/office.json"}}}
//
// A module may name a desired state: a relayctl backup file, against which a
// probe compares the board as `relayctl apply --check` does. A probe names a
// module only by its name; the files are the configuration's alone. The
// module "default", used when a probe names none, is a plain read unless the
// configuration says otherwise.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace relay_exporter {

inline constexpr char kDefaultModule[] = "default";

struct Module {
  std::string desiredPath;   // empty when the module names no desired state
  std::string desiredState;  // that file's text, checked as a backup
};
using Modules = std::map<std::string, Module>;

// The modules of a configuration's text, with their desired-state paths (not
// yet read). Names are letters, digits, '_' and '-'. Nullopt with `error`
// otherwise.
std::optional<Modules> ParseModules(std::string_view text, std::string &error);

// Reads the configuration file (empty path: none, only "default") and each
// desired-state file, checked as relayctl checks a backup. Nullopt with
// `error` naming the file and what is wrong.
std::optional<Modules> LoadModules(const std::string &path, std::string &error);

}  // namespace relay_exporter
