// Reading a board configuration from "name = value" lines, as given to the
// relaysim program with --config.
#pragma once

#include <string>
#include <string_view>

#include "SimBoard.h"

namespace relay::sim {

// Applies one setting to `config`, from the command line and from files
// alike. Names: model (basic|remote), ip, mask, gateway and dns (dotted quads
// of four decimal numbers 0..255, stored in normal form), keys (eight digits
// 1..3, or "none"), restore (on|off), version, id (14 characters), password
// (six digits), server, remote (on|off). False for an unknown name or a value
// outside these forms; version and server are free text.
bool ApplySetting(BoardConfig &config, std::string_view name, std::string_view value);

// Applies every line of `text` ('#' starts a comment). On failure `error`
// names the offending line and false is returned.
bool ApplyConfigText(BoardConfig &config, std::string_view text, std::string &error);

}  // namespace relay::sim
