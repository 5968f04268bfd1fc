#include "ShowText.h"

namespace relayctl {
namespace {

const char *ModeName(char digit) {
  switch (digit) {
    case '1': return "keep";
    case '2': return "follow";
    case '3': return "jog";
    default: return "?";
  }
}

void Line(std::string &text, const std::string &name, const std::string &value) {
  text += name + std::string(name.size() < 14 ? 14 - name.size() : 1, ' ') + value + "\n";
}

}  // namespace

std::string ShowText(const BoardState &board) {
  const Capabilities &caps = board.capabilities;
  const Settings &s = board.settings;
  std::string text;
  Line(text, "address", board.address);
  Line(text, "model", ModelName(caps));
  Line(text, "firmware", board.firmware.empty() ? "-" : board.firmware);
  Line(text, "device id", board.deviceId.empty() ? "-" : board.deviceId);
  Line(text, "capabilities", std::string("remote control ") + (caps.remoteControl ? "yes" : "no") + ", keys " +
                                 (caps.keys ? "yes" : "no"));
  Line(text, "ip", s.ip.value_or(""));
  Line(text, "mask", s.mask.value_or(""));
  Line(text, "gateway", s.gateway.value_or(""));
  if (s.keys) {
    std::string modes;
    for (std::size_t key = 0; key < s.keys->size(); ++key) {
      modes += " key" + std::to_string(key + 1) + "=" + ModeName((*s.keys)[key]);
    }
    Line(text, "keys", *s.keys + " " + modes);
  }
  Line(text, "restore", s.restore.value_or(false) ? "on" : "off");
  if (caps.remoteControl) {
    Line(text, "remote", s.remote.value_or(false) ? "on" : "off");
    Line(text, "dns", s.dns.value_or(""));
    Line(text, "server", s.server.value_or(""));
    Line(text, "password", s.password.value_or(""));
  }
  return text;
}

}  // namespace relayctl
