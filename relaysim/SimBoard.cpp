#include "SimBoard.h"

#include <algorithm>
#include <cctype>

namespace relay::sim {
namespace {

bool CarriesValue(char command) {
  return std::string_view("2345689AB").find(command) != std::string_view::npos;
}

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

const char *Flag(bool on) { return on ? "1" : "0"; }

}  // namespace

bool IsCommandCode(char command) { return command == '1' || command == '7' || CarriesValue(command); }

std::optional<Frame> ParseFrame(std::string_view text) {
  if (text.size() < 4 || text.front() != '#' || text.back() != ';') return std::nullopt;
  Frame frame;
  frame.command = text[1];
  if (!IsCommandCode(frame.command)) return std::nullopt;
  std::string_view rest = text.substr(2, text.size() - 3);
  const std::size_t comma = rest.find(',');
  frame.tag = std::string(rest.substr(0, comma));
  if (frame.tag.empty() || frame.tag.size() > 4 || !AllDigits(frame.tag)) return std::nullopt;
  if (comma != std::string_view::npos) frame.value = std::string(rest.substr(comma + 1));
  if (frame.value.has_value() != CarriesValue(frame.command)) return std::nullopt;
  return frame;
}

std::string CfgReply(const BoardConfig &config) {
  std::string reply = ">" + config.ipAddr + "," + config.subMask + "," + config.gateway + "," + config.buttonCfg +
                      "," + Flag(config.restoreState);
  if (config.model == Model::RemoteControl) {
    reply += "," + config.version + "," + config.deviceId + config.password + "," + config.dns + "," +
             config.webServer + "," + Flag(config.enableWeb);
  }
  return reply + ";";
}

bool ApplyWrite(BoardConfig &config, const Frame &frame) {
  const std::string value = frame.value.value_or("");
  switch (frame.command) {
    case '2': config.ipAddr = value; return true;
    case '3': config.subMask = value; return true;
    case '4': config.gateway = value; return true;
    case '5': config.buttonCfg = value; return true;
    case '6': config.restoreState = value == "1"; return true;
    case 'A': config.enableWeb = value == "1"; return true;
    case '8': config.dns = value; return true;
    case '9': config.webServer = value; return true;
    case 'B': config.password = value; return true;
    default: return false;
  }
}

std::optional<FaultKind> FaultFor(const SimOptions &options, char command) {
  for (const Fault &fault : options.faults) {
    if (fault.command == 0 || fault.command == command) return fault.kind;
  }
  return std::nullopt;
}

}  // namespace relay::sim
