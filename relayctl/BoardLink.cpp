#include "BoardLink.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "relaylink.h"

namespace relayctl {
namespace {

constexpr unsigned short kTextLength = 200;
// A restarting board needs a moment before it listens again.
constexpr std::chrono::milliseconds kFirstTryAfter{300};
constexpr std::chrono::milliseconds kRetryPause{200};

using TextGetter = short(RELAYLINK_CALL *)(char *, unsigned short);

std::optional<std::string> TextOf(TextGetter getter) {
  char buffer[kTextLength + 1] = {};
  if (getter(buffer, kTextLength) != 1) return std::nullopt;
  return std::string(buffer);
}

Outcome CurrentStatus() {
  char buffer[kTextLength + 1] = {};
  return {GetErrorCode(), GetErrorMsg(buffer, kTextLength)};
}

}  // namespace

std::optional<BoardState> ReadBoard(const std::string &address, Outcome &failure) {
  if (ReadDeviceCfg(address.c_str()) != 1) {
    failure = CurrentStatus();
    return std::nullopt;
  }
  BoardState board;
  board.address = address;
  board.capabilities.remoteControl = CanCfgWeb() == 1;
  board.capabilities.keys = CanCfgButton() == 1;
  Settings &s = board.settings;
  s.ip = TextOf(GetIpAddr);
  s.mask = TextOf(GetSubMask);
  s.gateway = TextOf(GetGateway);
  s.restore = GetRestoreState() == 1;
  if (board.capabilities.keys) {
    std::string keys;
    for (short key = 1; key <= 8; ++key) keys += static_cast<char>('0' + GetButtonCfg(key));
    s.keys = keys;
  }
  // Only replies with the remote-control items carry a version; the library
  // keeps an earlier board's version otherwise.
  if (board.capabilities.remoteControl) {
    board.firmware = TextOf(GetVersion).value_or("");
    board.deviceId = TextOf(GetDeviceId).value_or("");
    s.remote = GetEnableWeb() == 1;
    s.dns = TextOf(GetDns);
    s.server = TextOf(GetWebServer);
    s.password = TextOf(GetPassword);
  }
  return board;
}

Outcome SaveChanges(const Settings &changes) {
  if (changes.ip) SetIpAddr(changes.ip->c_str());
  if (changes.mask) SetSubMask(changes.mask->c_str());
  if (changes.gateway) SetGateway(changes.gateway->c_str());
  if (changes.keys) {
    for (short key = 1; key <= 8; ++key) {
      const char mode = (*changes.keys)[static_cast<std::size_t>(key - 1)];
      if (mode != '-') SetButtonCfg(key, static_cast<short>(mode - '0'));
    }
  }
  if (changes.restore) SetRestoreState(*changes.restore ? 1 : 0);
  if (changes.remote) SetEnableWeb(*changes.remote ? 1 : 0);
  if (changes.dns) SetDns(changes.dns->c_str());
  if (changes.server) SetWebServer(changes.server->c_str());
  if (changes.password) SetPassword(changes.password->c_str());
  SaveDeviceCfg();
  return CurrentStatus();
}

std::optional<BoardState> WaitForBoard(const std::vector<std::string> &addresses, int waitMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
  std::this_thread::sleep_for(std::min<std::chrono::milliseconds>(kFirstTryAfter, std::chrono::milliseconds(waitMs)));
  for (;;) {
    for (const std::string &address : addresses) {
      Outcome ignored;
      if (auto board = ReadBoard(address, ignored)) return board;
      if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
    }
    std::this_thread::sleep_for(kRetryPause);
  }
}

}  // namespace relayctl
