// Reading a board configuration from "name = value" lines, as given to the
// relaysim program with --config.
#pragma once

#include <string>
#include <string_view>

#include "SimBoard.h"

namespace relay::sim {

// Applies one setting to `config`. Names: model (basic|remote), ip, mask,
// gateway, keys (eight digits, or "none"), restore (on|off), version, id,
// password, dns, server, remote (on|off). False for an unknown name or value.
bool ApplySetting(BoardConfig &config, std::string_view name, std::string_view value);

// Applies every line of `text` ('#' starts a comment). On failure `error`
// names the offending line and false is returned.
bool ApplyConfigText(BoardConfig &config, std::string_view text, std::string &error);

}  // namespace relay::sim
